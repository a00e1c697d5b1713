#pragma once

namespace tallyvane::bench {

// A contacts table of this many rows, as a CSV file and as an .xlsx workbook:
// the phone column read into the window from each, and converted by
// tallyvane-convert --column from each, timed side by side.
void benchWorkbook(int rows);

} // namespace tallyvane::bench
