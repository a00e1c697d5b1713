#pragma once

#include "app/form1_services.h"

namespace tallyvane {

// "Save Results As Excel File": the headings in sheet row 1, list row r in
// sheet row r + 1 (an unchecked row leaves its sheet row empty), then the
// workbook is handed to the person unsaved.
void PushButton13_Click(Form1Services& s);
// Starts and releases a spreadsheet application; tells the person and answers
// false when there is none. Reports nothing else.
bool SaveResultsAsExcelFileIsExcelInstalled(Form1Services& s);

} // namespace tallyvane
