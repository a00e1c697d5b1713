#include "convert/line_reader.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace tallyvane::convert {

LineReader::LineReader(LineConverter& converter, std::size_t blockSize)
    : converter_(converter), buffer_(blockSize) {}

int LineReader::readAll(int fd) {
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
    start_ = 0;
    pendingCr_ = false;
    lineInPieces_ = false;
    std::size_t filled = 0;
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer_.data() + filled, buffer_.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
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
        takeLines(filled);
        // Keep the unfinished line at the front; a block holding nothing but
        // one unfinished line goes on as a piece of it.
        const std::size_t rest = filled - start_;
        if (rest == buffer_.size()) {
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

void LineReader::takeLines(std::size_t filled) {
    const char* const data = buffer_.data();
    std::size_t i = start_;
    for (;;) {
        while (i < filled && data[i] != '\n' && data[i] != '\r')
            ++i;
        if (i == filled)
            return;
        if (lineInPieces_) {
            converter_.piece({data + start_, i - start_});
            converter_.endLine();
            lineInPieces_ = false;
        } else {
            converter_.line({data + start_, i - start_});
        }
        if (data[i] == '\r') {
            if (i + 1 == filled)
                pendingCr_ = true;
            else if (data[i + 1] == '\n')
                ++i;
        }
        start_ = ++i;
    }
}

} // namespace tallyvane::convert
