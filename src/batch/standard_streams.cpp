#include "batch/standard_streams.h"

#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace tallyvane::batch {

namespace {

bool isClosed(int fd) {
    return ::fcntl(fd, F_GETFD) < 0 && errno == EBADF;
}

} // namespace

ClosedStandardStreams reserveStandardDescriptors() {
    ClosedStandardStreams closed;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (!isClosed(fd))
            continue;
        if (fd == STDIN_FILENO)
            closed.input = true;
        if (fd == STDOUT_FILENO)
            closed.output = true;
        // The lowest free number is this one, as the ones below it are open.
        ::open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    }
    return closed;
}

} // namespace tallyvane::batch
