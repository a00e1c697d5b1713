#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void PushButton5_Click(Form1Services& s); // "Copy Results To Clipboard"

} // namespace tallyvane
