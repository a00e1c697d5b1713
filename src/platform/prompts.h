#pragma once

#include <QString>

namespace tallyvane {

// Message box styles and answers as the commands name them.
namespace MessageStyle {
constexpr int Ok = 0;
constexpr int YesNo = 4;
constexpr int Warning = 48;
} // namespace MessageStyle

namespace MessageAnswer {
constexpr int Ok = 1;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace MessageAnswer

// Modal message boxes and the one-line input prompt.
class Prompts {
public:
    virtual ~Prompts() = default;
    // An empty title shows the application title. Returns the button pressed.
    virtual int messageBox(const QString& text, int style = MessageStyle::Ok,
                           const QString& title = {}) = 0;
    // Returns the typed text; the empty text on Cancel.
    virtual QString inputPrompt(const QString& message, const QString& title,
                                const QString& defaultText) = 0;
};

} // namespace tallyvane
