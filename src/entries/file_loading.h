#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void PushButton3_Click(Form1Services& s); // "Load State or Area Code From File"

} // namespace tallyvane
