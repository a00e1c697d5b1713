#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void PushButton4_Click(Form1Services& s); // "Save Results As Text File"

} // namespace tallyvane
