#pragma once

#include "app/form1_services.h"

namespace tallyvane {

void PushButton13_Click(Form1Services& s); // "Save Results As Excel File"
bool SaveResultsAsExcelFileIsExcelInstalled(Form1Services& s);

} // namespace tallyvane
