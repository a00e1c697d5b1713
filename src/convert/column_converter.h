#pragma once

#include "conversion/area_code_table.h"
#include "convert/answer_counts.h"
#include "convert/byte_output.h"
#include "convert/convert_options.h"
#include "entries/csv_records.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace tallyvane::convert {

// The rows of a CSV or TSV file, written again with the result of one column
// appended as one more field (and the reason, when asked for): every field
// of the file as it came, quoted only where it must be, and each row's own
// line end.
class ColumnConverter : public CsvRecords::Reader {
public:
    ColumnConverter(const AreaCodeTable& table, const ConvertOptions& options, ByteOutput& out);

    // --summary: every answer is counted there, a blank cell as an empty entry.
    void countInto(AnswerCounts* counts) { counts_ = counts; }
    // A new file, read with this delimiter; its header (if it has one) comes first.
    void beginFile(const CsvRecords& records, char delimiter);
    void record(const CsvRecord& record) override;
    // Whether the file had the named column; false also stops its rows.
    bool columnFound() const { return column_ >= 0; }

    // Rows, over every file, too short to have the column.
    std::size_t rowsWithoutColumn() const { return rowsWithoutColumn_; }
    // "column 2" or "column Phone", for messages.
    std::string columnName() const;

private:
    void header(const CsvRecord& record);
    void writeFields(const CsvRecord& record);
    void writeField(std::string_view field, bool guard);

    const AreaCodeTable& table_;
    const ConvertOptions& options_;
    ByteOutput& out_;
    const CsvRecords* records_ = nullptr;
    char delimiter_ = ',';
    long column_ = -1; // from 0; -1 while unknown, and when the header lacks it
    bool inHeader_ = false;
    bool firstRecord_ = true;
    bool atStart_ = false; // the next field opens a file that had no byte-order mark
    std::size_t rowsWithoutColumn_ = 0;
    AnswerCounts* counts_ = nullptr;
};

} // namespace tallyvane::convert
