#include "platform/qt/qt_main_window_surface.h"

#include "platform/failure.h"
#include "platform/qt/qt_window_services.h"

#include <QApplication>
#include <QCursor>
#include <QPixmap>

namespace tallyvane {

void QtMainWindowSurface::setCaption(const QString& caption) { window_->setWindowTitle(caption); }

void QtMainWindowSurface::setIconToApplicationIcon() {
    window_->setWindowIcon(QIcon(QStringLiteral(":/tallyvane/icon.png")));
}

void QtMainWindowSurface::setApplicationTitle(const QString& title) {
    QGuiApplication::setApplicationDisplayName(title);
}

QString QtMainWindowSurface::applicationTitle() const {
    return QGuiApplication::applicationDisplayName();
}

void QtMainWindowSurface::setPointerImage(const QString& path) {
    QPixmap image(path);
    if (image.isNull())
        throw Failure(QStringLiteral("Invalid picture"));
    services_.setCustomPointer(QCursor(image));
}

void QtMainWindowSurface::applyButtonFaceColours() {}

void QtMainWindowSurface::loadSkin(const QString&) {}

} // namespace tallyvane
