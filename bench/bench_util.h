#pragma once

#include "support/fakes.h"

#include <QString>

#include <cstdint>
#include <functional>

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

// Runs the event loop, as the window's own loop would, until `done` holds when
// the loop is about to wait (then quitDelayMs more) or limitMs has passed.
// Returns the longest stretch of work between two such moments, in ns.
std::int64_t longestWorkUntil(const std::function<bool()>& done, int quitDelayMs, int limitMs);

// Makes any message box a failure of the measurement: a load or a paste that
// shows one measured something else than it should.
void refuseMessages(testing::FakePrompts& prompts);

// "12.3 M/s", "456 k/s": entries per second, for the tables.
QString formatRate(double perSecond);
// "41 ns", "0.71 us", "2.10 ms": time per entry.
QString formatPerEntry(double seconds, std::int64_t entries);

} // namespace tallyvane::bench
