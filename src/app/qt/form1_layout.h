#pragma once

#include "app/qt/form1_controls.h"

#include <QWidget>

namespace tallyvane {

class ListModel;

// Creates every control of the main window with its name, caption, font,
// colours and tab order, in a layout that puts each at its designed place and
// size (twips / 15 = pixels) in a window of the designed size, and lets the
// lists take or give up the difference in one of any other size.
Form1Controls buildForm1Layout(QWidget* form, ListModel& entries, ListModel& results);

// Both lists first, then the entry and result buttons, then sample data and
// help, and last the direction frame and the progress bar: not the visual order.
void setForm1TabOrder(const Form1Controls& c);

} // namespace tallyvane
