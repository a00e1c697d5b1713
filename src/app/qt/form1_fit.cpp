#include "app/qt/form1_fit.h"

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>

namespace tallyvane {

namespace {
// Room for the window manager's title bar and borders, which are not known
// before the window is shown: generous for the common desktops.
const QSize kFrameAllowance(16, 48);
} // namespace

bool designedSizeFits(const QSize& designed, const QRect& available) {
    const QSize room = available.size() - kFrameAllowance;
    return designed.width() <= room.width() && designed.height() <= room.height();
}

void fitForm1ToScreen(QWidget* form) {
    // The window may be made as small as its layout allows: the lists keep a
    // few rows, every button its caption.
    form->layout()->activate(); // the places, before the window is first shown
    form->setMinimumSize(form->layout()->minimumSize());
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize designed = form->size();
    if (!screen || designedSizeFits(designed, screen->availableGeometry()))
        return; // the designed size
    // Too small a screen, or too large a scale: the lists give up height (and
    // width, where even that is short) until the window fits.
    const QSize room = screen->availableGeometry().size() - kFrameAllowance;
    form->resize(designed.boundedTo(room).expandedTo(form->minimumSize()));
}

void resizeWithinScreen(QWidget* window, const QSize& wanted) {
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return window->resize(wanted);
    const QSize room = screen->availableGeometry().size() - kFrameAllowance;
    window->resize(wanted.boundedTo(room));
}

} // namespace tallyvane
