#pragma once

namespace tallyvane::bench {

// Times pasting the given number of lines into the real main window (Ctrl+V's
// command, clipboard read included) until the entry list has shown them all,
// beside loading the same lines from a file into the same window, and prints
// "paste: N lines in X ms ... file load: ... ms"; then the same number of
// rows in four columns, one column taken, pasted as cells and dropped as a
// CSV file ("columns: ...").
void benchPaste(int lines);

} // namespace tallyvane::bench
