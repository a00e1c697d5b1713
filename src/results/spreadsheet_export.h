#pragma once

namespace tallyvane {

class ListView;
class Prompts;
class SpreadsheetAutomation;
class WindowServices;

// The names are the window's own and appear in error reports.

// "Save Results As Excel File": the headings in sheet row 1, list row r in
// sheet row r + 1 (an unchecked row leaves its sheet row empty), then the
// workbook is handed to the person unsaved.
void PushButton13_Click(Prompts& prompts, WindowServices& window,
                        SpreadsheetAutomation& spreadsheet, const ListView& results);
// Starts and releases a spreadsheet application; tells the person and answers
// false when there is none. Reports nothing else.
bool SaveResultsAsExcelFileIsExcelInstalled(Prompts& prompts, SpreadsheetAutomation& spreadsheet);

} // namespace tallyvane
