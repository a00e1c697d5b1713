#pragma once

#include "app/form1_services.h"

#include <QString>

namespace tallyvane {

// The load handler of the main window: skin, caption, icon, application title,
// hand pointer, the two list columns and the saved conversion direction.
// Every failing step is reported under its line number and the load goes on.
void Form_Load(Form1Services& s);

// The direction buttons save the choice at once. A store that cannot be
// written is told in a warning box; the selection itself stays.
void Option1_Click(Form1Services& s);
void Option2_Click(Form1Services& s);

// With x/o.cjs in the program folder: button-face colours, then the skin.
// Throws Failure from the surface; what was done before the failure stays.
void ApplySkin(Form1Services& s);

// The product title cut at its last space, again while longer than 40
// characters. A text without a space left to cut at stays as it is.
QString applicationTitleFor(const QString& productTitle);
void SetAppTitle(Form1Services& s);

// A stored setting as a 16-bit integer: surrounding spaces ignored, a fraction
// rounded half to even. Throws Failure("Type mismatch") for a text that is no
// number and Failure("Overflow") outside -32768..32767.
int toInteger16(const QString& text);

} // namespace tallyvane
