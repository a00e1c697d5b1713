#include "results/text_file_output.h"

#include "platform/failure.h"

namespace tallyvane {

namespace {
// Big enough that a million-line file takes a dozen writes, small enough that
// the collected text stays a few megabytes.
constexpr qsizetype kChunkCharacters = 1 << 20;
} // namespace

void TextFileOutput::create(const QString& path) {
    pending_.clear();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly))
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

void TextFileOutput::writePending() {
    const QByteArray bytes = pending_.toUtf8();
    pending_.clear();
    if (file_.write(bytes) != bytes.size()) {
        const QString reason = file_.errorString();
        abandon();
        throw Failure(reason);
    }
}

void TextFileOutput::commit() {
    if (!isOpen())
        throw Failure(QStringLiteral("The file is not open"));
    if (!pending_.isEmpty())
        writePending();
    if (!file_.commit())
        throw Failure(file_.errorString());
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
