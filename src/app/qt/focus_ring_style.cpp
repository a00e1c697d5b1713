#include "app/qt/focus_ring_style.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>

#include <cmath>

namespace tallyvane {

namespace {

constexpr double kLeastContrast = 3.0;
constexpr int kRingWidth = 2;

double luminance(const QColor& colour) {
    const auto channel = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

QColor ringColour(const QColor& surface, const QColor& highlight) {
    if (contrastRatio(highlight, surface) >= kLeastContrast)
        return highlight;
    return contrastRatio(Qt::black, surface) >= contrastRatio(Qt::white, surface) ? Qt::black
                                                                                  : Qt::white;
}

bool keyboardFocus(const QStyleOption* option) {
    return (option->state & QStyle::State_HasFocus) &&
           (option->state & QStyle::State_KeyboardFocusChange);
}

void drawRing(QPainter* painter, const QRect& rect, const QColor& colour) {
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(colour, kRingWidth));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(
        rect.adjusted(kRingWidth / 2, kRingWidth / 2, -kRingWidth / 2 - 1, -kRingWidth / 2 - 1));
    painter->restore();
}

} // namespace

double contrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

void FocusRingStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameFocusRect)
        return QProxyStyle::drawPrimitive(element, option, painter, widget);
    // Around an option button's caption, or the current row of a list.
    const QColor surface =
        widget && qobject_cast<const QAbstractItemView*>(widget->parentWidget())
            ? option->palette.color(QPalette::Base)
            : option->palette.color(widget ? widget->backgroundRole() : QPalette::Window);
    drawRing(painter, option->rect,
             ringColour(surface, option->palette.color(QPalette::Highlight)));
}

void FocusRingStyle::drawControl(ControlElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    QProxyStyle::drawControl(element, option, painter, widget);
    if (!keyboardFocus(option))
        return;
    const QColor highlight = option->palette.color(QPalette::Highlight);
    if (element == CE_PushButton)
        drawRing(painter, option->rect.adjusted(2, 2, -2, -2),
                 ringColour(option->palette.color(QPalette::Button), highlight));
    else if (element == CE_ShapedFrame && qobject_cast<const QAbstractItemView*>(widget))
        drawRing(painter, option->rect,
                 ringColour(option->palette.color(QPalette::Base), highlight));
}

int FocusRingStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                const QWidget* widget) const {
    const int size = QProxyStyle::pixelMetric(metric, option, widget);
    // A list's frame leaves room for the ring beside its rows.
    if (metric == PM_DefaultFrameWidth && qobject_cast<const QAbstractItemView*>(widget))
        return std::max(size, kRingWidth);
    return size;
}

void useFocusRingStyle() {
    if (qobject_cast<FocusRingStyle*>(QApplication::style()))
        return;
    // A style of the same kind as the present one: the program owns it.
    QStyle* base = QStyleFactory::create(QApplication::style()->name());
    QApplication::setStyle(new FocusRingStyle(base));
}

} // namespace tallyvane
