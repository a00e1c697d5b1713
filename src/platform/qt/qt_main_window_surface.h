#pragma once

#include "platform/main_window_surface.h"

#include <QPointer>
#include <QWidget>

namespace tallyvane {

class QtWindowServices;

class QtMainWindowSurface : public MainWindowSurface {
public:
    QtMainWindowSurface(QWidget* window, QtWindowServices& services)
        : window_(window), services_(services) {}
    void setCaption(const QString& caption) override;
    void setIconToApplicationIcon() override;
    void setApplicationTitle(const QString& title) override;
    QString applicationTitle() const override;
    // Throws Failure("Invalid picture") for a file that is no cursor image.
    void setPointerImage(const QString& path) override;
    // The desktop's button colour on the window and on its option buttons,
    // check boxes, frames and labels; other controls keep their colours.
    void applyButtonFaceColours() override;
    // The vendor skin format has no reader here: Qt's Fusion style stands in.
    void loadSkin(const QString& path) override;

private:
    QPointer<QWidget> window_;
    QtWindowServices& services_;
};

} // namespace tallyvane
