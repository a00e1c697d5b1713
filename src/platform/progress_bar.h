#pragma once

#include <QString>

namespace tallyvane {

// The window's progress bar: a percentage (fractions allowed, above 100 shows
// a full bar) and a text line.
class ProgressBar {
public:
    virtual ~ProgressBar() = default;
    virtual void setValue(double percent) = 0;
    virtual void setText(const QString& text) = 0;
    virtual double value() const = 0;
    virtual QString text() const = 0;
};

} // namespace tallyvane
