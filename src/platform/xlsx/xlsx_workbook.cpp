#include "platform/xlsx/xlsx_workbook.h"

#include "platform/failure.h"

#include <QDir>

#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace tallyvane {

namespace {

// The widest a column may be, in character units.
constexpr double kMaxColumnWidth = 255;
// Room for the cell margins beside the text.
constexpr double kColumnMargin = 1;

Failure libraryFailure(lxw_error error) {
    return Failure(QString::fromUtf8(lxw_strerror(error)));
}

// For these the library's own text is generic ("Zip generic error ZIP_ERRNO
// ..."); the system's reason, which it leaves in errno, says what went wrong.
bool failedInTheFileSystem(lxw_error error) {
    return error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE ||
           error == LXW_ERROR_ZIP_FILE_OPERATION;
}

} // namespace

XlsxWorkbook::XlsxWorkbook(const QString& folder, const QString& fileName)
    : path_(QDir(folder).filePath(fileName)), tmpdir_(QFile::encodeName(folder)) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    // The library's row files go to the private folder too, not to /tmp at large.
    options.tmpdir = tmpdir_.data();
    options.use_zip64 = LXW_TRUE; // a million-row sheet may pass 4 GB uncompressed
    const QByteArray file = QFile::encodeName(path_);
    // The library makes its row file here; errno tells why that failed.
    errno = 0;
    workbook_ = workbook_new_opt(file.constData(), &options);
    if (workbook_)
        sheet_ = workbook_add_worksheet(workbook_, nullptr);
    if (!sheet_) {
        const int cause = errno;
        discard();
        throw Failure(
            QStringLiteral("The workbook could not be created in %1: %2")
                .arg(folder, cause ? qt_error_string(cause) : QStringLiteral("out of memory")));
    }
}

XlsxWorkbook::~XlsxWorkbook() {
    discard();
}

void XlsxWorkbook::ensureOpen() const {
    if (!workbook_)
        throw Failure(QStringLiteral("The workbook has already been handed over"));
}

void XlsxWorkbook::setCell(int row, int column, const QString& text) {
    ensureOpen();
    if (row < 1 || row > LXW_ROW_MAX || column < 1 || column > LXW_COL_MAX)
        throw libraryFailure(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
    const QByteArray utf8 = text.toUtf8();
    const lxw_error error =
        worksheet_write_string(sheet_, static_cast<lxw_row_t>(row - 1),
                               static_cast<lxw_col_t>(column - 1), utf8.constData(), nullptr);
    if (error != LXW_NO_ERROR)
        throw libraryFailure(error);
    if (static_cast<int>(longest_.size()) < column)
        longest_.resize(column, 0);
    longest_[column - 1] = std::max(longest_[column - 1], static_cast<int>(text.size()));
}

void XlsxWorkbook::fit(int column) {
    const int index = column - 1;
    const int longest = index < static_cast<int>(longest_.size()) ? longest_[index] : 0;
    if (longest == 0) {
        fitted_.erase(index); // an empty column keeps the default width
        return;
    }
    fitted_[index] = std::min(kMaxColumnWidth, longest + kColumnMargin);
}

void XlsxWorkbook::autofitColumn(int column) {
    ensureOpen();
    if (column < 1 || column > LXW_COL_MAX)
        throw libraryFailure(LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE);
    fit(column);
}

void XlsxWorkbook::autofitAllColumns() {
    ensureOpen();
    for (int column = 1; column <= static_cast<int>(longest_.size()); ++column)
        fit(column);
}

void XlsxWorkbook::close() {
    ensureOpen();
    for (const auto& [index, width] : fitted_) {
        const auto col = static_cast<lxw_col_t>(index);
        const lxw_error error = worksheet_set_column(sheet_, col, col, width, nullptr);
        if (error != LXW_NO_ERROR) {
            discard();
            throw libraryFailure(error);
        }
    }
    // The library writes finished rows to its row file without checking: a
    // row lost to a full disk must fail the workbook, not vanish from it.
    FILE* rows = sheet_->optimize_tmpfile;
    errno = 0;
    if (rows && (std::fflush(rows) != 0 || std::ferror(rows))) {
        const int cause = errno;
        discard();
        throw cannotWrite(cause ? qt_error_string(cause)
                                : QStringLiteral("some of its rows were lost"));
    }
    lxw_workbook* workbook = workbook_;
    workbook_ = nullptr;
    sheet_ = nullptr;
    errno = 0;
    const lxw_error error = workbook_close(workbook); // frees the workbook in every case
    const int cause = errno;
    if (error != LXW_NO_ERROR && failedInTheFileSystem(error) && cause != 0)
        throw cannotWrite(qt_error_string(cause));
    if (error != LXW_NO_ERROR)
        throw libraryFailure(error);
}

Failure XlsxWorkbook::cannotWrite(const QString& cause) const {
    return Failure(QStringLiteral("The workbook %1 could not be written: %2").arg(path_, cause));
}

void XlsxWorkbook::discard() {
    if (!workbook_)
        return;
    // Freeing an unfinished workbook leaves the sheet's row file open.
    if (sheet_ && sheet_->optimize_tmpfile) {
        std::fclose(sheet_->optimize_tmpfile);
        sheet_->optimize_tmpfile = nullptr;
    }
    lxw_workbook_free(workbook_);
    workbook_ = nullptr;
    sheet_ = nullptr;
}

} // namespace tallyvane
