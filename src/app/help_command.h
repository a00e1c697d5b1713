#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void PushButton8_Click(Form1Services& s); // "Help"

} // namespace tallyvane
