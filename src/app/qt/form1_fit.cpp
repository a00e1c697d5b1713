#include "app/qt/form1_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

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

void fitForm1ToScreen(QWidget* form, const Form1Controls& c) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize designed = form->size();
    if (!screen || designedSizeFits(designed, screen->availableGeometry()))
        return; // the designed, fixed size

    // Too small a screen (or too large a scale): the controls keep their
    // places on a surface of the designed size, which scrolls inside a window
    // that fits the screen and may be resized up to the designed size.
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("Form1Content"));
    content->setFixedSize(designed);
    content->setMouseTracking(true); // moves over the background reach the window's handler
    const QList<QWidget*> controls = form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        const QRect geometry = control->geometry();
        control->setParent(content);
        control->setGeometry(geometry);
        control->show();
    }
    auto* scroll = new QScrollArea(form);
    scroll->setObjectName(QStringLiteral("Form1Scroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    scroll->setWidget(content);
    content->setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(form);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);

    const int bar = form->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize room = screen->availableGeometry().size() - kFrameAllowance;
    form->setMinimumSize(QSize(bar * 4, bar * 4));
    form->setMaximumSize(designed + QSize(bar, bar));
    // Room for the vertical scroll bar beside the full width where there is
    // room, so that only the height scrolls.
    form->resize(QSize(designed.width() + bar, designed.height()).boundedTo(room));
    setForm1TabOrder(c); // moving the controls reordered the focus chain
}

} // namespace tallyvane
