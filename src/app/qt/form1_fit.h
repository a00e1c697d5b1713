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

// Gives a window of the program its wanted size, or as much of it as the
// screen's available area holds with the window's frame (at 150% a
// 1000x560 window is 1500x840 pixels, more than a 1366x768 screen has).
void resizeWithinScreen(QWidget* window, const QSize& wanted);

} // namespace tallyvane
