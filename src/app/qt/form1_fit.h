#pragma once

#include <QWidget>

#include <QRect>
#include <QSize>

namespace tallyvane {

// Whether a window of the designed client size, with its title bar and
// borders, fits the screen's available area.
bool designedSizeFits(const QSize& designed, const QRect& available);

// Keeps the designed size at the start where it fits the screen; where it does
// not, the window starts as large as fits, its lists shorter. Either way the
// window can be resized, down to the least its layout allows.
void fitForm1ToScreen(QWidget* form);

} // namespace tallyvane
