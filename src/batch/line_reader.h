#pragma once

#include "batch/line_converter.h"
#include "batch/quick_entries.h"

#include <sys/types.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane::batch {

// Reads a descriptor as read(2) does, but through interrupting signals. For a pipe or a terminal,
// which may hold its next bytes back for a long time, beforeWaiting is called before a read that
// would wait, so that what is converted so far can go out first.
std::function<ssize_t(char*, std::size_t)> readerOf(int fd, std::function<void()> beforeWaiting);

// Reads files in large blocks and hands their lines to the converter. A line
// ends at LF, CR LF or a lone CR; the end of a file ends its last line, and a
// final line end adds no empty line. A line longer than a block goes out in
// pieces, so memory stays at one block whatever comes in.
class LineReader {
public:
    // Fills the buffer with up to size bytes: the count, 0 at the end, or -1
    // with errno set, as read(2) does (never for EINTR, as readerOf).
    using Source = std::function<ssize_t(char* buffer, std::size_t size)>;

    LineReader(LineConverter& converter, std::size_t blockSize);
    // The block every reader of lines uses, on one thread or several: a
    // megabyte, and room for a line that could match a state. A line longer
    // than a block goes in pieces (csv quotes it), so the same block gives
    // the same bytes.
    static std::size_t blockFor(const AreaCodeTable& table) {
        return std::max(std::size_t(1) << 20, 2 * (table.longestStateKey() + 1));
    }

    // Called before a read that would wait for its input (a pipe or a
    // terminal with nothing to read yet), so that the results of the lines
    // so far can go out first.
    void setBeforeWaiting(std::function<void()> beforeWaiting) {
        beforeWaiting_ = std::move(beforeWaiting);
    }

    // Reads the whole descriptor. Returns 0, or the errno of a failed read;
    // the lines read until then are converted either way.
    int readAll(int fd);
    int readAll(const Source& source);

private:
    void takeLines(const char* data, std::size_t filled);
    std::function<void()> beforeWaiting_;

    static constexpr std::size_t kReadSize = std::size_t(128) << 10;

    LineConverter& converter_;
    // A block and AreaCode::kReadAhead bytes past it, which the converter may read.
    std::vector<char> buffer_;
    std::size_t blockSize_;
    std::vector<std::uint64_t> lineEnds_; // the block's line ends, a bit a byte
    std::array<EntrySpan, 256> spans_;    // whole lines not handed on yet
    std::size_t start_ = 0;               // the first byte of the line not yet handed on
    bool pendingCr_ = false;              // the last block ended in CR: an LF next belongs to it
    bool lineInPieces_ = false;
};

} // namespace tallyvane::batch
