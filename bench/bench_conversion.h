#pragma once

#include "bench_entries.h"
#include "bench_isolation.h"
#include "conversion/direction.h"

#include <QString>

namespace tallyvane::bench {

// Each fills the figures named in its comment; times are in seconds.

// "seconds": the area code of every entry.
void measureNormalisation(Figures& figures, const std::vector<QString>& entries);

// "seconds": one database query per entry through the real SQLite store,
// without the run's memo, and the results row made from its answer.
void measureLookups(Figures& figures, const QString& databasePath,
                    const std::vector<QString>& entries, Direction direction);

// The real window shown offscreen, the entries in its list and one click on
// "Start Converting":
// "seconds" from the click until the results list shows every row,
// "click_seconds" until the click returned, "catch_up_seconds" the rest,
// "gap_ms" the longest time between two event pumps, "pump_ms" the longest
// single pump, "pumps", "peak_mb", and "wrong" (rows or messages not as
// expected, 0 when the run is right).
void measureWholeRun(Figures& figures, const QString& databasePath,
                     const std::vector<AreaCodeRow>& table, int entryCount, Direction direction);

} // namespace tallyvane::bench
