#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void ListView2_DblClick(Form1Services& s);
// Only the key code matters; Shift, Ctrl and Alt are ignored.
void ListView2_KeyDown(Form1Services& s, int keyCode, int shift);
void PushButton2_Click(Form1Services& s); // "Clear Results"

} // namespace tallyvane
