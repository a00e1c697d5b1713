#pragma once

#include <QString>

#include <cstdint>

namespace tallyvane {

class RegularFile;

// What loading a file would cost, worked out from its size and the line ends
// in a few samples of it: the entries' texts, each row in the list and in the
// list's view, and the buffers of a line longer than the samples.
struct LoadEstimate {
    std::int64_t lines = 0;
    std::int64_t bytes = 0;
};
LoadEstimate estimateLoad(const RegularFile& file);
LoadEstimate estimateLoad(const QString& path);

// Throws Failure with a message that names both figures when loading the file
// would need more memory than is available; the list is then unchanged.
void refuseLoadBeyondMemory(const RegularFile& file, const QString& path);

} // namespace tallyvane
