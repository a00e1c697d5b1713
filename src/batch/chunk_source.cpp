#include "batch/chunk_source.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <limits>

#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane::batch {

namespace {

ssize_t readAt(int fd, char* buffer, std::size_t size, off_t at) {
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, size, at);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

} // namespace

ChunkedFile::ChunkedFile(int fd, std::size_t chunkSize)
    : fd_(fd), chunkSize_(chunkSize), begin_(std::max<off_t>(::lseek(fd, 0, SEEK_CUR), 0)),
      end_(begin_) {
    struct stat info {};
    const off_t size = ::fstat(fd, &info) == 0 ? info.st_size : begin_;
    const auto bytes = std::size_t(std::max<off_t>(size - begin_, 0));
    chunks_ = std::max<std::size_t>((bytes + chunkSize - 1) / chunkSize, 1);
    end_ = std::max(size, begin_);
}

void ChunkedFile::leaveOffsetAtEnd() const {
    ::lseek(fd_, end_.load(), SEEK_SET);
}

ChunkSource::ChunkSource(const ChunkedFile& file, std::size_t chunk)
    : file_(file), chunk_(chunk), last_(chunk + 1 == file.chunks()),
      cutFrom_(last_ ? std::numeric_limits<off_t>::max()
                     : file.begin_ + off_t((chunk + 1) * file.chunkSize_) - 1),
      at_(file.begin_ + off_t(chunk * file.chunkSize_)) {}

bool ChunkSource::findStart() {
    started_ = true;
    if (chunk_ == 0)
        return true;
    // The first LF at or after the byte before the chunk's stretch.
    std::array<char, 16384> piece; // filled by pread before it is read
    for (off_t from = at_ - 1;;) {
        const ssize_t got = readAt(file_.fd_, piece.data(), piece.size(), from);
        if (got <= 0) // the file ends (or fails) within a line begun before
            return false;
        if (const void* lf = std::memchr(piece.data(), '\n', std::size_t(got))) {
            const off_t at = from + off_t(static_cast<const char*>(lf) - piece.data());
            at_ = at + 1;
            return at < cutFrom_; // else a line begun before covers the whole stretch
        }
        from += got;
        if (from > cutFrom_)
            return false;
    }
}

ssize_t ChunkSource::operator()(char* buffer, std::size_t size) {
    if (done_ || (!started_ && !findStart()))
        return done_ = true, 0;
    const ssize_t got = readAt(file_.fd_, buffer, size, at_);
    if (got <= 0) {
        done_ = got == 0;
        if (done_ && last_)
            file_.end_ = at_;
        return got;
    }
    std::size_t kept = std::size_t(got);
    if (at_ + got > cutFrom_) {
        const std::size_t from = std::size_t(std::max<off_t>(cutFrom_ - at_, 0));
        if (const void* lf = std::memchr(buffer + from, '\n', kept - from)) {
            kept = std::size_t(static_cast<const char*>(lf) - buffer) + 1;
            done_ = true;
        }
    }
    at_ += off_t(kept);
    return ssize_t(kept);
}

} // namespace tallyvane::batch
