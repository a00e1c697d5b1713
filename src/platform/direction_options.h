#pragma once

namespace tallyvane {

// The two conversion-direction option buttons, read at the moment of use.
class DirectionOptions {
public:
    virtual ~DirectionOptions() = default;
    virtual bool option1Selected() const = 0; // "Convert Area Codes To States"
    virtual bool option2Selected() const = 0; // "Convert States To Area Codes"
    // Selecting a button from the program does not run its click handler.
    virtual void setOption1(bool selected) = 0;
    virtual void setOption2(bool selected) = 0;
};

} // namespace tallyvane
