#pragma once

namespace tallyvane {

enum class Pointer { Default = 0, Busy = 11, Custom = 99 };

// The window-wide pointer and the event pump that long commands call inside
// their loops so that the window keeps responding.
class WindowServices {
public:
    virtual ~WindowServices() = default;
    virtual Pointer pointer() const = 0;
    virtual void setPointer(Pointer pointer) = 0;
    // Handles every waiting event, including clicks that run other commands.
    virtual void processEvents() = 0;
    bool isBusy() const { return pointer() == Pointer::Busy; }
};

} // namespace tallyvane
