#pragma once

#include "batch/byte_output.h"
#include "batch/convert_options.h"
#include "conversion/area_code_table.h"
#include "conversion/direction.h"

#include <cstddef>

namespace tallyvane::batch {

// The results, tsv and csv formats of a regular file on two threads. The file is read in
// blocks cut after their last LF; the two threads convert a block each, and
// the results go out in the order of the lines. Each line is converted by the
// same LineReader and LineConverter as on one thread, so the bytes are the
// same. A block with no LF at all (a line longer than a block, or lone CR
// line ends) hands the rest of the file to one thread. Memory stays at a few
// blocks of input and their results.
class ParallelLines {
public:
    static constexpr std::size_t kBlockSize = std::size_t(256) << 10;

    ParallelLines(const AreaCodeTable& table, Direction direction, Format format, bool withReason,
                  ByteOutput& out, std::size_t blockSize = kBlockSize);
    // Converts the whole descriptor. Returns 0, or the errno of a failed read.
    int readAll(int fd);

    // What every line is converted with.
    struct Job {
        const AreaCodeTable& table;
        Direction direction;
        Format format;
        bool withReason;
    };

private:
    const AreaCodeTable& table_;
    Direction direction_;
    Format format_;
    bool withReason_;
    ByteOutput& out_;
    std::size_t blockSize_;
};

// Whether a file is worth two threads: a regular file of a few blocks at
// least, on a machine with a second core. TALLYVANE_CONVERT_THREADS=1 in the
// environment keeps everything on one thread.
bool worthTwoThreads(int fd);

} // namespace tallyvane::batch
