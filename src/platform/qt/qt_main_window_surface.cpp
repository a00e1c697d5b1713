#include "platform/qt/qt_main_window_surface.h"

#include "platform/failure.h"
#include "platform/qt/qt_cursor_file.h"
#include "platform/qt/qt_window_services.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QRadioButton>
#include <QStyle>
#include <QStyleFactory>

namespace tallyvane {

namespace {

QWidget& alive(const QPointer<QWidget>& window) {
    if (!window)
        throw Failure(QStringLiteral("The main window no longer exists"));
    return *window;
}

void setBackground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    // Option buttons and check boxes fill with the Button role, the rest with Window.
    palette.setColor(widget->backgroundRole(), colour);
    // The text that belongs with the desktop's button face, readable in any theme.
    palette.setColor(QPalette::WindowText, QGuiApplication::palette().color(QPalette::ButtonText));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

bool takesButtonFace(const QWidget* control) {
    return qobject_cast<const QRadioButton*>(control) || qobject_cast<const QCheckBox*>(control) ||
           qobject_cast<const QGroupBox*>(control) || qobject_cast<const QLabel*>(control);
}

} // namespace

void QtMainWindowSurface::setCaption(const QString& caption) {
    alive(window_).setWindowTitle(caption);
}

void QtMainWindowSurface::setIconToApplicationIcon() {
    const QIcon icon(QStringLiteral(":/tallyvane/icon.png"));
    if (icon.isNull())
        throw Failure(QStringLiteral("The application icon is missing from the program"));
    alive(window_).setWindowIcon(icon);
}

void QtMainWindowSurface::setApplicationTitle(const QString& title) {
    QGuiApplication::setApplicationDisplayName(title);
}

QString QtMainWindowSurface::applicationTitle() const {
    return QGuiApplication::applicationDisplayName();
}

void QtMainWindowSurface::setPointerImage(const QString& path) {
    services_.setCustomPointer(loadCursorFile(path));
}

void QtMainWindowSurface::applyButtonFaceColours() {
    QWidget& window = alive(window_);
    // The desktop's own colour, not the window's: the window's palette has been
    // made white by its layout.
    const QColor buttonFace = QGuiApplication::palette().color(QPalette::Button);
    setBackground(&window, buttonFace);
    const QList<QWidget*> controls = window.findChildren<QWidget*>();
    for (QWidget* control : controls) {
        if (takesButtonFace(control))
            setBackground(control, buttonFace);
    }
}

void QtMainWindowSurface::loadSkin(const QString&) {
    QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"));
    if (!fusion)
        throw Failure(QStringLiteral("The Fusion style is not available"));
    // The application takes ownership; the message boxes follow the same look.
    QApplication::setStyle(fusion);
}

} // namespace tallyvane
