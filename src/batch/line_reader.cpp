#include "batch/line_reader.h"

#include "batch/decoded_text.h"

#include "batch/line_ends.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane::batch {

LineReader::LineReader(LineConverter& converter, std::size_t blockSize)
    : converter_(converter), buffer_(blockSize + AreaCode::kReadAhead), blockSize_(blockSize) {}

namespace {

ssize_t readThroughSignals(int fd, char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd, buffer, size);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

} // namespace

std::function<ssize_t(char*, std::size_t)> readerOf(int fd, std::function<void()> beforeWaiting) {
    struct stat info {};
    if ((::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) || !beforeWaiting) {
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
        return
            [fd](char* buffer, std::size_t size) { return readThroughSignals(fd, buffer, size); };
    }
    return [fd, beforeWaiting = std::move(beforeWaiting)](char* buffer, std::size_t size) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 0) == 0)
            beforeWaiting();
        return readThroughSignals(fd, buffer, size);
    };
}

int LineReader::readAll(int fd) {
    return readAll(decodedText(readerOf(fd, beforeWaiting_)));
}

int LineReader::readAll(const Source& source) {
    start_ = 0;
    pendingCr_ = false;
    lineInPieces_ = false;
    std::size_t filled = 0;
    int error = 0;
    for (;;) {
        // Read a little at a time, so that the bytes are still in the
        // processor's cache when their lines are converted; a line still
        // goes in pieces only once it fills the whole block.
        const ssize_t got =
            source(buffer_.data() + filled, std::min(blockSize_ - filled, kReadSize));
        if (got <= 0) {
            error = got < 0 ? errno : 0;
            break;
        }
        std::size_t from = filled;
        filled += static_cast<std::size_t>(got);
        if (pendingCr_ && buffer_[from] == '\n') {
            ++from;
            start_ = from;
        }
        pendingCr_ = false;
        takeLines(buffer_.data(), filled);
        // Keep the unfinished line at the front; a block holding nothing but
        // one unfinished line goes on as a piece of it.
        const std::size_t rest = filled - start_;
        if (rest == blockSize_) {
            converter_.piece({buffer_.data(), rest});
            lineInPieces_ = true;
            filled = 0;
        } else {
            std::memmove(buffer_.data(), buffer_.data() + start_, rest);
            filled = rest;
        }
        start_ = 0;
    }
    // The end of the file ends its last line.
    if (lineInPieces_) {
        if (filled > 0)
            converter_.piece({buffer_.data(), filled});
        converter_.endLine();
    } else if (filled > 0) {
        converter_.line({buffer_.data(), filled});
    }
    return error;
}

void LineReader::takeLines(const char* data, std::size_t filled) {
    const char* const from = data + start_;
    const char* const end = data + filled;
    const auto size = static_cast<std::size_t>(end - from);
    lineEnds_.resize(lineEndWords(size));
    markLineEnds(from, size, lineEnds_.data());
    // Whole lines go to the converter a batch at a time; it may read a
    // little past an entry, which the buffer's padding allows.
    std::size_t batched = 0;
    const auto handOn = [&] {
        converter_.lines(spans_.data(), batched);
        batched = 0;
    };
    const char* p = from;
    for (std::size_t word = 0; word < lineEnds_.size(); ++word) {
        for (std::uint64_t bits = lineEnds_[word]; bits != 0; bits &= bits - 1) {
            const char* lineEnd = from + word * 64 + unsigned(std::countr_zero(bits));
            if (lineEnd < p) // the LF of a CR LF
                continue;
            const auto length = static_cast<std::size_t>(lineEnd - p);
            if (lineInPieces_) {
                converter_.piece({p, length});
                converter_.endLine();
                lineInPieces_ = false;
            } else {
                spans_[batched++] = {p, length};
                if (batched == spans_.size())
                    handOn();
            }
            if (*lineEnd == '\r') {
                if (lineEnd + 1 == end)
                    pendingCr_ = true;
                else if (lineEnd[1] == '\n')
                    ++lineEnd;
            }
            p = lineEnd + 1;
        }
    }
    handOn();
    start_ = static_cast<std::size_t>(p - data);
}

} // namespace tallyvane::batch
