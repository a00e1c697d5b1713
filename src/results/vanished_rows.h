#pragma once

namespace tallyvane {

class Procedure;
class ListView;

// Whether row `row` of a loop over rows 1..lastRow still exists. "Clear
// Results" may empty the list while an export reads it; every missing row
// would then fail on its own, one warning box per row (a million for a long
// list) and a blank line each in a text file. The first missing row is
// reported once, at the given line, and the loop is to stop there.
bool rowStillThere(Procedure& p, int line, const ListView& list, int row, int lastRow);

// The failure that says rows firstGone to lastRow went while they were read.
[[noreturn]] void throwRowsGone(int firstGone, int lastRow);

} // namespace tallyvane
