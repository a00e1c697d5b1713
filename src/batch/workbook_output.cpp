#include "batch/workbook_output.h"

#include "entries/csv_records.h"
#include "platform/failure.h"
#include "platform/xlsx/xlsx_workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstdio>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace tallyvane::batch {

namespace {

QString folderOf(const std::string& path) {
    return QFileInfo(QFile::decodeName(path.c_str())).absolutePath();
}

// Every field of every record, a text cell each, in order.
class Cells : public CsvRecords::Reader {
public:
    explicit Cells(XlsxWorkbook& book) : book_(book) {}
    void record(const CsvRecord& record) override {
        ++row_;
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            std::string_view field = record.fields[i];
            // The input's byte-order mark belongs to no cell.
            if (row_ == 1 && i == 0 && field.substr(0, 3) == "\xEF\xBB\xBF")
                field.remove_prefix(3);
            if (!field.empty())
                book_.setCell(row_, int(i) + 1,
                              QString::fromUtf8(field.data(), qsizetype(field.size())));
        }
    }

private:
    XlsxWorkbook& book_;
    int row_ = 0;
};

} // namespace

WorkbookOutput::WorkbookOutput(std::string path) : path_(std::move(path)) {
    const QByteArray folder = QFile::encodeName(folderOf(path_));
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

void WorkbookOutput::write(char delimiter) {
    const QString target = QFile::decodeName(path_.c_str());
    // The workbook is made in a private folder beside FILE, and renamed over
    // it only when complete.
    QTemporaryDir scratch(folderOf(path_) + QStringLiteral("/.tallyvane-XXXXXX"));
    if (!scratch.isValid())
        throw Failure(
            QStringLiteral("Cannot write in %1: %2").arg(folderOf(path_), scratch.errorString()));
    XlsxWorkbook book(scratch.path(), QStringLiteral("book.xlsx"));
    CsvRecords records(delimiter);
    Cells cells(book);
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
    if (std::rename(QFile::encodeName(book.path()).constData(), path_.c_str()) != 0)
        throw Failure(QStringLiteral("Cannot write %1: %2").arg(target, qt_error_string(errno)));
}

} // namespace tallyvane::batch
