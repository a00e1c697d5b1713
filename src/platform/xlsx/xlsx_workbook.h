#pragma once

#include "platform/failure.h"
#include "platform/spreadsheet.h"

#include <QString>

#include <map>
#include <vector>

struct lxw_workbook;
struct lxw_worksheet;

namespace tallyvane {

// One .xlsx workbook with one sheet, written by libxlsxwriter in its
// constant-memory mode: each finished row goes to a temporary file at once, so
// a million rows cost little memory, but rows must arrive in order (the export
// writes them so). Every value is an inline text cell, never a formula.
//
// The library has no autofit, so the widest text per column is tracked while
// writing and a fit records a width from it. The widths are handed to the
// library once, just before the file is assembled: it keeps column settings
// apart from the streamed rows, so they need not come before the data.
class XlsxWorkbook : public Workbook {
public:
    // The file is created in the folder, which must be private to this user.
    XlsxWorkbook(const QString& folder, const QString& fileName);
    ~XlsxWorkbook() override;
    XlsxWorkbook(const XlsxWorkbook&) = delete;
    XlsxWorkbook& operator=(const XlsxWorkbook&) = delete;

    void setCell(int row, int column, const QString& text) override;
    void autofitColumn(int column) override;
    void autofitAllColumns() override;

    // Assembles the file; afterwards the workbook takes no more cells.
    void close();
    // Drops the unfinished workbook without writing the file.
    void discard();
    const QString& path() const { return path_; }

private:
    void fit(int column);
    Failure cannotWrite(const QString& cause) const;
    void ensureOpen() const;

    QString path_;
    QByteArray tmpdir_;
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    std::vector<int> longest_;     // by column - 1, in characters
    std::map<int, double> fitted_; // column - 1 -> width in character units
};

} // namespace tallyvane
