#pragma once

#include "reading/workbooks/sheet_csv.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tallyvane {

class ZipMembers;

// An .ods workbook: its sheets are the tables of content.xml, read as it is
// inflated, with repeated rows and cells, covered cells and the text of a
// cell's paragraphs (spaces, tabs, line breaks and spans) as shown.
class OdsBook {
public:
    explicit OdsBook(const ZipMembers& zip) : zip_(zip) {}
    // The tables' names: a pass over the whole content, made once.
    const std::vector<std::string>& sheetNames() const;
    // Streams the table's cells into out. Throws Failure.
    void readSheet(std::size_t sheet, SheetCsv& out, std::size_t& formulasWithoutResult) const;

private:
    const ZipMembers& zip_;
    mutable std::vector<std::string> names_;
    mutable bool named_ = false;
};

} // namespace tallyvane
