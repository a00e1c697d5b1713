#pragma once

#include "batch/byte_output.h"
#include "batch/convert_options.h"
#include "batch/line_converter.h"
#include "conversion/area_code_table.h"
#include "conversion/direction.h"

#include <cstddef>

namespace tallyvane::batch {

// The results, tsv and csv formats of a regular file on several threads. The
// file is cut into chunks of about chunkSize bytes, each holding the lines
// that begin in it, so every chunk starts just after an LF. Each thread
// reads its chunk itself (pread, the offset of the descriptor untouched until
// the end), converts it with the same LineReader and LineConverter as one
// thread would, and writes its rows when every earlier chunk's rows are out:
// the bytes are those of one thread, in order. A chunk whose rows grow past
// a few megabytes (a long line, or a state's many codes) waits for its turn
// and then writes as it goes, so memory stays at a few chunks a thread.
class ParallelLines {
public:
    static constexpr std::size_t kChunkSize = std::size_t(1) << 20;

    // Rows a chunk may hold back while an earlier chunk is still being
    // converted; past this it waits for its turn and writes as it goes.
    static constexpr std::size_t kHeldBack = std::size_t(4) << 20;

    ParallelLines(const LineWork& work, ByteOutput& out, std::size_t chunkSize = kChunkSize,
                  int threads = 0, std::size_t heldBack = kHeldBack);
    // Converts the descriptor from its offset to its end and leaves the
    // offset there. Returns 0, or the errno of a failed read: the lines
    // before the failure are converted, and none after it.
    int readAll(int fd);
    // Thrown by readAll, before anything is read, when even this thread
    // finds no room for its blocks: one thread's plain reading needs less.
    struct NoRoom {};

private:
    LineWork job_;
    ByteOutput& out_;
    std::size_t chunkSize_;
    int threads_;
    std::size_t heldBack_;
};

// How many threads a regular file is worth: one for a pipe, a small file or a
// machine of one core, or with TALLYVANE_CONVERT_THREADS=1 in the
// environment (a number there sets the count), else one a core up to four.
int threadsFor(int fd);

} // namespace tallyvane::batch
