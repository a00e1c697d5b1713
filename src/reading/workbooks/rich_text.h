#pragma once

#include <string>
#include <string_view>

namespace tallyvane {

// The text of a shared string or an inline string as a person sees it: its
// text runs joined, its phonetic runs (the reading aids of East Asian text)
// left out.
class RichText {
public:
    void start(std::string_view name) {
        if (name == "rPh")
            phonetic_ = true;
        else if (name == "t" && !phonetic_)
            collecting_ = true;
    }
    void end(std::string_view name) {
        if (name == "rPh")
            phonetic_ = false;
        else if (name == "t")
            collecting_ = false;
    }
    void text(std::string_view piece, std::string& into) const {
        if (collecting_)
            into.append(piece);
    }
    void reset() { collecting_ = phonetic_ = false; }

private:
    bool collecting_ = false;
    bool phonetic_ = false;
};

} // namespace tallyvane
