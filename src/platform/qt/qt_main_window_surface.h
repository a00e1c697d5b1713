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
    void setPointerImage(const QString& path) override;
    void applyButtonFaceColours() override;
    void loadSkin(const QString& path) override;

private:
    QPointer<QWidget> window_;
    QtWindowServices& services_;
};

} // namespace tallyvane
