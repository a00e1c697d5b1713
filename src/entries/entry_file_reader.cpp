#include "entries/entry_file_reader.h"

#include "entries/entry_splitter.h"
#include "platform/failure.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane {

namespace {

constexpr std::size_t kBlockBytes = 1 << 20;

[[noreturn]] void throwSystemError(int error) {
    throw Failure(qt_error_string(error));
}

// Closes the file on every way out, so that a failed read never keeps it open.
class ReadOnlyFile {
public:
    explicit ReadOnlyFile(const QString& path) {
        // Without O_NONBLOCK a FIFO with no writer would block the window forever.
        fd_ = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd_ < 0)
            throwSystemError(errno);
        struct stat info {};
        if (::fstat(fd_, &info) != 0)
            refuse(qt_error_string(errno));
        if (S_ISDIR(info.st_mode))
            refuse(qt_error_string(EISDIR));
        // Devices, pipes and sockets may never end.
        if (!S_ISREG(info.st_mode))
            refuse(QStringLiteral("Not a regular file"));
    }
    ~ReadOnlyFile() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // The number of bytes read, 0 at the end of the file.
    std::size_t read(char* buffer, std::size_t size) {
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, size);
            if (got >= 0)
                return static_cast<std::size_t>(got);
            if (errno != EINTR)
                throwSystemError(errno);
        }
    }

private:
    // A throwing constructor runs no destructor, so it closes the file itself.
    [[noreturn]] void refuse(const QString& description) {
        ::close(fd_);
        fd_ = -1;
        throw Failure(description);
    }

    int fd_ = -1;
};

} // namespace

void appendEntriesFromFile(ListView& list, const QString& path) {
    ReadOnlyFile file(path);
    const auto block = std::make_unique_for_overwrite<char[]>(kBlockBytes);
    EntrySplitter splitter(list);
    while (const std::size_t got = file.read(block.get(), kBlockBytes))
        splitter.feed(block.get(), got);
    splitter.finish();
}

} // namespace tallyvane
