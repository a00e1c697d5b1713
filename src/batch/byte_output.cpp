#include "batch/byte_output.h"

#include <cerrno>

#include <unistd.h>

namespace tallyvane::batch {

void ByteOutput::writeAll(const char* data, std::size_t size) {
    if (sink_)
        return sink_(std::string_view(data, size));
    if (fd_ == kDiscard)
        return;
    while (size > 0) {
        const ssize_t written = ::write(fd_, data, size);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            throw OutputFailed{errno};
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void ByteOutput::close() {
    flush();
    if (::close(fd_) != 0 && errno != EINTR)
        throw OutputFailed{errno};
}

} // namespace tallyvane::batch
