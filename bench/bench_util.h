#pragma once

#include <QString>

#include <cstdint>

namespace tallyvane::bench {

// The highest resident set size of this process so far, in megabytes.
double peakMemoryMb();
// The folder that holds the benchmark program.
QString benchProgramFolder();
// The built database: the build puts the benchmark in <build>/bench and the
// program with its database in <build>/bin.
QString defaultDatabasePath();
// Where the window looks for its database and help page.
QString programFolderFor(const QString& databasePath);

// "12.3 M/s", "456 k/s": entries per second, for the tables.
QString formatRate(double perSecond);
// "41 ns", "0.71 us", "2.10 ms": time per entry.
QString formatPerEntry(double seconds, std::int64_t entries);

} // namespace tallyvane::bench
