#pragma once

#include <QString>

namespace tallyvane {

class ListView;
class ProgressBar;

// At most this many characters of an entry go on the progress bar; an entry
// of millions would stall, and once crashed, the bar's painting.
constexpr qsizetype kLongestProgressEntry = 256;

// "Processing: " and the entry's name (GetFileNameFromPath of it), cut to
// kLongestProgressEntry characters and "…". Only the shown part is copied.
QString progressTextFor(const QString& entryText);

// The run's progress text for entry i, which also marks the results row the
// run appends next as coming from entry i, for that row's tooltip.
void showEntryInProgress(ProgressBar& progress, ListView& results, const ListView& entries,
                         const QString& entryText, int i);

} // namespace tallyvane
