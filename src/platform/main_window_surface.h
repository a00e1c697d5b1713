#pragma once

#include <QString>

namespace tallyvane {

// What the start-up changes on the main window itself. Failures throw Failure.
class MainWindowSurface {
public:
    virtual ~MainWindowSurface() = default;
    virtual void setCaption(const QString& caption) = 0;
    virtual void setIconToApplicationIcon() = 0;
    virtual void setApplicationTitle(const QString& title) = 0;
    virtual QString applicationTitle() const = 0;
    // Loads a pointer image (a Windows cursor file) as the custom pointer.
    virtual void setPointerImage(const QString& path) = 0;
    // The window, and its option buttons, check boxes, frames and labels, take
    // the button-face colour.
    virtual void applyButtonFaceColours() = 0;
    // Applies the toolkit's own theme in place of the vendor skin file.
    virtual void loadSkin(const QString& path) = 0;
};

} // namespace tallyvane
