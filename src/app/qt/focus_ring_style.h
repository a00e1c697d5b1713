#pragma once

#include <QProxyStyle>

namespace tallyvane {

// The desktop's own style, with a focus indicator that can be seen: a solid
// ring around the focused button, option button or list, in the highlight
// colour where that stands out 3:1 from the surface behind it, and otherwise
// in black or white, whichever stands out more. Some styles draw focus as a
// faint tint that all but vanishes on the window's white surfaces or under a
// dark palette.
class FocusRingStyle : public QProxyStyle {
    Q_OBJECT
public:
    using QProxyStyle::QProxyStyle;

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

// Puts the style in place for the whole program, over whatever style it uses
// now (the skin may have chosen one), unless it is there already.
void useFocusRingStyle();

// WCAG contrast of two colours, 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);

} // namespace tallyvane
