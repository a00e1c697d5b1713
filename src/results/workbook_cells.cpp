#include "results/workbook_cells.h"

#include "platform/spreadsheet.h"

namespace tallyvane {

void WorkbookCells::record(const CsvRecord& record) {
    ++row_;
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        std::string_view field = record.fields[i];
        if (row_ == 1 && i == 0 && field.substr(0, 3) == "\xEF\xBB\xBF")
            field.remove_prefix(3);
        if (!field.empty())
            book_.setCell(row_, int(i) + 1,
                          QString::fromUtf8(field.data(), qsizetype(field.size())));
    }
}

} // namespace tallyvane
