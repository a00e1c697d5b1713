#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void PushButton6_Click(Form1Services& s); // "Add State or Area Code"
void PushButton1_Click(Form1Services& s); // "Clear List"
void ListView1_DblClick(Form1Services& s);
void ListView1_KeyDown(Form1Services& s, int keyCode);

} // namespace tallyvane
