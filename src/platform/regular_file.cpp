#include "platform/regular_file.h"

#include "platform/failure.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane {

RegularFile::RegularFile(const QString& path) {
    fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0)
        throw Failure(qt_error_string(errno));
    struct stat info {};
    QString refusal;
    if (::fstat(fd_, &info) != 0)
        refusal = qt_error_string(errno);
    else if (S_ISDIR(info.st_mode))
        refusal = qt_error_string(EISDIR);
    else if (!S_ISREG(info.st_mode))
        refusal = QStringLiteral("Not a regular file");
    if (!refusal.isEmpty()) {
        // A throwing constructor runs no destructor.
        ::close(fd_);
        throw Failure(refusal);
    }
    size_ = info.st_size;
}

RegularFile::~RegularFile() {
    ::close(fd_);
}

std::size_t RegularFile::read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, size);
        if (got >= 0)
            return static_cast<std::size_t>(got);
        if (errno != EINTR)
            throw Failure(qt_error_string(errno));
    }
}

std::size_t RegularFile::readAt(char* buffer, std::size_t size, std::int64_t offset) const {
    const ssize_t got = ::pread(fd_, buffer, size, off_t(offset));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
}

} // namespace tallyvane
