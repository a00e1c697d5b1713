#pragma once

namespace tallyvane::bench {

// Fills the real window's results list with the given number of rows and
// times the three exports through their commands: the text file (to a
// temporary folder), the clipboard copy (Qt's clipboard) and the workbook (a
// real .xlsx; the spreadsheet application is not started). Prints one line
// per export and the peak memory after the workbook. Throws when an export
// reports a failure or produces the wrong amount of output.
void benchExports(int rows);

} // namespace tallyvane::bench
