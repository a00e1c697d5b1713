#pragma once

#include "reading/csv_records.h"

namespace tallyvane {

class Workbook;

// Every field of every CSV record a text cell of the workbook, row by row,
// so that 6032374934 keeps its digits and nothing is taken for a formula;
// empty fields leave their cells empty. The text's byte-order mark belongs
// to no cell.
class WorkbookCells : public CsvRecords::Reader {
public:
    explicit WorkbookCells(Workbook& book) : book_(book) {}
    void record(const CsvRecord& record) override;

private:
    Workbook& book_;
    int row_ = 0;
};

} // namespace tallyvane
