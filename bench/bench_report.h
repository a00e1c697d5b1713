#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace tallyvane::bench {

// Measures normalisation, lookups and the whole run for each entry count,
// repeat times each, and prints the medians. A direction "codes" or "states"
// times only the whole runs of that direction. Returns the number of counts
// whose runs failed or produced wrong rows.
int reportConversion(const std::vector<int>& entryCounts, int repeat, QString databasePath,
                     const QString& onlyDirection = {});

// Runs another measurement in a child process; 1 when it failed, else 0.
int runHook(const std::function<void()>& measure);

} // namespace tallyvane::bench
