#pragma once

#include "entries/file_kind.h"
#include "entries/workbook_reading.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tallyvane {

// A workbook (.xlsx or .ods) read through the workbook module, each sheet given as the
// CSV text both programs already read columns from: a cell as a person sees
// it, so a phone number stored as a number is its digits and a date is
// YYYY-MM-DD, never a serial number.
class WorkbookFile {
public:
    // Throws Failure when the file cannot be read as a workbook of that kind.
    WorkbookFile(const std::string& path, FileKind kind);
    ~WorkbookFile();
    WorkbookFile(const WorkbookFile&) = delete;
    WorkbookFile& operator=(const WorkbookFile&) = delete;

    const std::vector<std::string>& sheetNames() const { return names_; }
    // The sheet's used range, comma-separated, quoted where a field needs it,
    // one LF-ended line a row (an empty sheet is empty).
    std::string sheetCsv(std::size_t sheet) const;

private:
    std::unique_ptr<WorkbookReading> contents_;
    std::vector<std::string> names_;
};

// The sheet a person named: its name (exactly, or ignoring case when only one
// matches that way), or its number from 1.
std::optional<std::size_t> sheetNamed(const std::vector<std::string>& names,
                                      const std::string& nameOrNumber);

} // namespace tallyvane
