#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tallyvane {

// A workbook read by the workbook module (liborcus and its spreadsheet
// model), which is loaded only when a workbook is met: its libraries cost
// every start of either program several milliseconds and megabytes.
class WorkbookReading {
public:
    virtual ~WorkbookReading() = default;
    virtual std::vector<std::string> sheetNames() const = 0;
    // The sheet's used range as CSV, one LF-ended line a row.
    virtual std::string sheetCsv(std::size_t sheet) const = 0;
};

// The module's one entry: the workbook at path (an .ods when ods, else an
// .xlsx), or null with what went wrong in error. Never throws.
using ReadWorkbook = WorkbookReading* (*)(const char* path, bool ods, std::string* error);
inline constexpr const char* kReadWorkbookSymbol = "tallyvane_read_workbook";
inline constexpr const char* kWorkbookModuleName = "libtallyvane_workbooks.so";

} // namespace tallyvane
