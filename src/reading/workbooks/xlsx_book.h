#pragma once

#include "reading/workbooks/cell_text.h"
#include "reading/workbooks/packed_strings.h"
#include "reading/workbooks/sheet_csv.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tallyvane {

class ZipMembers;

// An .xlsx workbook: its sheets found through the package's relationships
// (relative or absolute targets, wherever the parts lie), its styles' date
// formats, and, when a sheet is read, its shared strings.
class XlsxBook {
public:
    // Throws Failure.
    explicit XlsxBook(const ZipMembers& zip);
    const std::vector<std::string>& sheetNames() const { return names_; }
    // Streams the sheet's cells into out; counts formulas without a stored
    // result. Throws Failure.
    void readSheet(std::size_t sheet, SheetCsv& out, std::size_t& formulasWithoutResult) const;

private:
    void readStyles(const std::string& part);
    void readSharedStrings() const;

    const ZipMembers& zip_;
    std::vector<std::string> names_;
    std::vector<std::string> sheetParts_;
    std::string sharedStringsPart_;
    std::vector<cells::Shown> styles_; // by cell format index
    bool system1904_ = false;
    mutable PackedStrings strings_;
    mutable bool stringsRead_ = false;
};

} // namespace tallyvane
