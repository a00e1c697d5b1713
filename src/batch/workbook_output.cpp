#include "batch/workbook_output.h"

#include "batch/scratch_folders.h"
#include "platform/failure.h"
#include "platform/xlsx/xlsx_workbook.h"
#include "reading/csv_records.h"
#include "results/workbook_cells.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

namespace tallyvane::batch {

namespace {

QString folderOf(const std::string& path) {
    return QFileInfo(QFile::decodeName(path.c_str())).absolutePath();
}

// Whether FILE must be written into rather than replaced: it is not a
// regular file (a device, a FIFO), or it is reached through /proc or /dev
// (/dev/stdout is a link to whatever the standard output is, and renaming
// over it would replace the link, not write the output).
bool writtenInto(const std::string& path, const struct stat& target, bool exists) {
    if (exists && !S_ISREG(target.st_mode))
        return true;
    std::string hop = path;
    for (int links = 0; links < 16; ++links) {
        const QString absolute = QFileInfo(QFile::decodeName(hop.c_str())).absoluteFilePath();
        if (absolute.startsWith(QStringLiteral("/proc/")) ||
            absolute.startsWith(QStringLiteral("/dev/")))
            return true;
        char next[PATH_MAX];
        const ssize_t size = ::readlink(hop.c_str(), next, sizeof next - 1);
        if (size <= 0)
            return false;
        next[size] = '\0';
        hop = next[0] == '/' ? std::string(next)
                             : QFile::encodeName(QFileInfo(absolute).absolutePath()).toStdString() +
                                   "/" + next;
    }
    return false;
}

QString failedWrite(const QString& target) {
    return QStringLiteral("Cannot write %1: %2").arg(target, qt_error_string(errno));
}

} // namespace

WorkbookOutput::WorkbookOutput(std::string path) : path_(std::move(path)) {
    targetExists_ = ::stat(path_.c_str(), &target_) == 0;
    stream_ = writtenInto(path_, target_, targetExists_);
    // Beside FILE, so that the rename stays on its file system; anywhere
    // private for a FILE that is written into.
    const QByteArray folder =
        stream_ ? QFile::encodeName(QDir::tempPath()) : QFile::encodeName(folderOf(path_));
    // A file without a name, gone when closed whatever happens.
    csv_ = ::open(folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (csv_ < 0)
        throw Failure(QStringLiteral("Cannot write in %1: %2")
                          .arg(QFile::decodeName(folder), qt_error_string(errno)));
}

WorkbookOutput::~WorkbookOutput() {
    if (csv_ >= 0)
        ::close(csv_);
}

bool WorkbookOutput::isFileOf(int fd) const {
    struct stat input {};
    return targetExists_ && ::fstat(fd, &input) == 0 && input.st_dev == target_.st_dev &&
           input.st_ino == target_.st_ino;
}

void WorkbookOutput::write(char delimiter) {
    const QString target = QFile::decodeName(path_.c_str());
    // The workbook is made in a private folder, and renamed over FILE (or
    // copied into it) only when complete.
    const ScratchFolder scratch(stream_ ? QFile::encodeName(QDir::tempPath()).toStdString()
                                        : QFile::encodeName(folderOf(path_)).toStdString());
    const std::string bookPath = scratch.fileNamed("book.xlsx");
    XlsxWorkbook book(QFile::decodeName(scratch.path().c_str()), QStringLiteral("book.xlsx"));
    CsvRecords records(delimiter);
    WorkbookCells cells(book);
    std::vector<char> block(std::size_t(1) << 20);
    for (off_t at = 0;;) {
        const ssize_t got = ::pread(csv_, block.data(), block.size(), at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            throw Failure(QStringLiteral("Cannot read the rows back: ") + qt_error_string(errno));
        if (got == 0)
            break;
        records.feed(block.data(), std::size_t(got), cells);
        at += got;
    }
    records.finish(cells);
    book.autofitAllColumns();
    book.close();
    if (stream_)
        return writeInto(bookPath);
    if (std::rename(bookPath.c_str(), path_.c_str()) != 0)
        throw Failure(failedWrite(target));
}

void WorkbookOutput::writeInto(const std::string& bookPath) const {
    const QString target = QFile::decodeName(path_.c_str());
    const int from = ::open(bookPath.c_str(), O_RDONLY | O_CLOEXEC);
    const int to = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (from < 0 || to < 0) {
        const int error = errno;
        if (from >= 0)
            ::close(from);
        errno = error;
        throw Failure(failedWrite(target));
    }
    std::vector<char> block(std::size_t(1) << 16);
    ssize_t got = 0;
    while ((got = ::read(from, block.data(), block.size())) > 0) {
        for (ssize_t put = 0; put < got;) {
            const ssize_t wrote = ::write(to, block.data() + put, std::size_t(got - put));
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote < 0) {
                const int error = errno;
                ::close(from);
                ::close(to);
                errno = error;
                throw Failure(failedWrite(target));
            }
            put += wrote;
        }
    }
    ::close(from);
    if (::close(to) != 0 || got < 0)
        throw Failure(failedWrite(target));
}

// The input, if any, that is the very file the workbook would replace.
std::optional<std::string> inputThatIsOutput(const std::vector<std::string>& files,
                                             const WorkbookOutput& workbook) {
    if (files.empty())
        return workbook.isFileOf(STDIN_FILENO) ? std::optional<std::string>("the standard input")
                                               : std::nullopt;
    for (const std::string& file : files) {
        const int fd =
            file == "-" ? ::dup(STDIN_FILENO) : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        const bool same = fd >= 0 && workbook.isFileOf(fd);
        if (fd >= 0)
            ::close(fd);
        if (same)
            return file == "-" ? std::string("the standard input") : file;
    }
    return std::nullopt;
}

} // namespace tallyvane::batch
