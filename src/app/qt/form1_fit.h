#pragma once

#include "app/qt/form1_layout.h"

#include <QRect>
#include <QSize>

namespace tallyvane {

// Whether a window of the designed client size, with its title bar and
// borders, fits the screen's available area.
bool designedSizeFits(const QSize& designed, const QRect& available);

// Keeps the designed size where it fits the screen. Where it does not, the
// controls scroll inside a window that fits, so that every one stays reachable.
void fitForm1ToScreen(QWidget* form, const Form1Controls& c);

} // namespace tallyvane
