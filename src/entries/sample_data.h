#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void PushButton7_Click(Form1Services& s); // "Load Sample/Example Data"

} // namespace tallyvane
