#include "results/text_file_output.h"

#include "platform/failure.h"

#include <cerrno>
#include <unistd.h>

namespace tallyvane {

namespace {
// Big enough that a million-line file takes a dozen writes, small enough that
// the collected text stays a few megabytes.
constexpr qsizetype kChunkCharacters = 1 << 20;
} // namespace

void TextFileOutput::create(const QString& path) {
    pending_.clear();
    file_.setFileName(path);
    // Unbuffered: a buffered device flushes on close, and QSaveFile does not
    // notice when that flush fails, so it would put a cut file in place.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Failure(file_.errorString());
}

void TextFileOutput::writeLine(const QString& line) {
    if (!isOpen())
        throw Failure(QStringLiteral("The file is not open"));
    pending_ += line;
    pending_ += QStringLiteral("\r\n");
    if (pending_.size() >= kChunkCharacters)
        writePending();
}

void TextFileOutput::writeBytes(const QByteArray& bytes) {
    if (!isOpen())
        throw Failure(QStringLiteral("The file is not open"));
    if (!pending_.isEmpty())
        writePending();
    writeAll(bytes);
}

void TextFileOutput::writePending() {
    const QByteArray bytes = pending_.toUtf8();
    pending_.clear();
    writeAll(bytes);
}

void TextFileOutput::writeAll(const QByteArray& bytes) {
    const char* data = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        // A write cut short by a filling disk returns what it wrote and no
        // error; the next one fails with the system's reason.
        const qint64 written = file_.write(data, left);
        if (written < 0)
            fail(file_.errorString());
        if (written == 0)
            fail(QStringLiteral("The file could not be written"));
        data += written;
        left -= written;
    }
}

// QSaveFile syncs before it renames but ignores a failing sync, and a file
// system may report a full disk or a bad block only then.
void TextFileOutput::syncToDisk() {
    const int fd = file_.handle();
    if (fd < 0)
        return;
    while (::fdatasync(fd) != 0) {
        if (errno == EINTR)
            continue;
        if (errno == EINVAL || errno == EROFS) // the file system cannot sync
            return;
        fail(qt_error_string(errno));
    }
}

void TextFileOutput::commit() {
    if (!isOpen())
        throw Failure(QStringLiteral("The file is not open"));
    if (!pending_.isEmpty())
        writePending();
    syncToDisk();
    if (!file_.commit())
        throw Failure(file_.errorString());
}

void TextFileOutput::fail(const QString& reason) {
    abandon();
    throw Failure(reason);
}

void TextFileOutput::abandon() {
    pending_.clear();
    if (!isOpen())
        return;
    file_.cancelWriting();
    // commit() after cancelWriting() closes the device and removes the temporary file.
    file_.commit();
}

} // namespace tallyvane
