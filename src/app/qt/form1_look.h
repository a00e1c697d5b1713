#pragma once

#include "app/qt/form1_controls.h"

#include <QString>

class QWidget;

namespace tallyvane {

// "Arial" where the desktop has it, otherwise its metric twin from
// fonts-liberation2, so every caption fits its box.
QString form1FontFamily();

// Fonts, colours and window frame of the main window: Arial 9 pt
// bold for the window and the lists, 11.25 pt bold on the push buttons, white
// behind the window, the frame, the option buttons and the push buttons; the
// designed size where it fits the screen, centred on it.
void applyForm1Look(QWidget* form, const Form1Controls& c);

} // namespace tallyvane
