#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void Form_Load(Form1Services& s);
void Option1_Click(Form1Services& s);
void Option2_Click(Form1Services& s);

} // namespace tallyvane
