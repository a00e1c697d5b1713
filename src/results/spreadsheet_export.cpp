#include "results/spreadsheet_export.h"

namespace tallyvane {

void PushButton13_Click(Form1Services&) {}
bool SaveResultsAsExcelFileIsExcelInstalled(Form1Services&) { return false; }

} // namespace tallyvane
