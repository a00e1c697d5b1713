#pragma once

#include "reading/file_kind.h"
#include "reading/workbooks/sheet_csv.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallyvane {

class OdsBook;
class XlsxBook;
class ZipMembers;

// A workbook (.xlsx or .ods), each sheet given as the CSV text both
// programs already read columns from, streamed as the sheet is inflated and
// parsed: a cell as a person sees it, so a phone number stored as a number is
// its digits and a date is YYYY-MM-DD, never a serial number.
class WorkbookFile {
public:
    // Throws Failure when the file cannot be read as a workbook of that kind.
    WorkbookFile(const std::string& path, FileKind kind);
    // The same from a descriptor already open, which stays the caller's.
    WorkbookFile(int fd, FileKind kind);
    ~WorkbookFile();
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    const std::vector<std::string>& sheetNames() const;
    // Streams the sheet's text: comma-separated, quoted where a field needs
    // it, one LF-ended line a row. Throws Failure.
    void readSheet(std::size_t sheet, const SheetText& to) const;
    // The whole sheet's text (an empty sheet is empty).
    std::string sheetCsv(std::size_t sheet) const;
    // Formula cells met so far that had no stored result, read as empty.
    std::size_t formulasWithoutResult() const { return formulasWithoutResult_; }

private:
    void open(int fd, FileKind kind);

    std::unique_ptr<ZipMembers> zip_;
    std::unique_ptr<XlsxBook> xlsx_;
    std::unique_ptr<OdsBook> ods_;
    mutable std::size_t formulasWithoutResult_ = 0;
};

// "3 formulas had no stored result; ...": what a person is told after a
// read that met them.
std::string formulasWithoutResultText(std::size_t formulas);

// The sheet a person named: its name (exactly, or ignoring case when only one
// matches that way), or its number from 1.
std::optional<std::size_t> sheetNamed(const std::vector<std::string>& names,
                                      const std::string& nameOrNumber);

} // namespace tallyvane
