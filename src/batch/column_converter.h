#pragma once

#include "batch/answer_counts.h"
#include "batch/byte_output.h"
#include "batch/convert_options.h"
#include "batch/zone_fields.h"
#include "conversion/area_code_table.h"
#include "reading/csv_records.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane::batch {

// The rows of CSV or TSV files, written again with the result of each column
// asked for as one more field (and the reason, when asked for): every field of the
// file as it came, quoted only where it must be, and each row's own line
// end. Several files make one table: the first file's header (and mark)
// only, each file's last row ended, and a later file whose header differs is
// refused before any of its rows. The result always stands under its
// heading: a short row is padded with empty fields, and a long row has its
// extra fields after the result.
class ColumnConverter : public CsvRecords::Reader {
public:
    ColumnConverter(const AreaCodeTable& table, const ConvertOptions& options, ByteOutput& out);

    // --summary: every answer is counted there, a blank cell as an empty entry.
    // --time-zone and the like: their fields follow the result's.
    void withZones(const ZoneFields* zones) { zones_ = zones && zones->any() ? zones : nullptr; }
    void countInto(AnswerCounts* counts) { counts_ = counts; }
    // Every file's rows written with this delimiter, not with their own.
    void writeWithDelimiter(char delimiter) { fixedDelimiter_ = delimiter; }
    // A new file, read with this delimiter; its header (if it has one) comes first.
    void beginFile(const CsvRecords& records, char delimiter);
    void record(const CsvRecord& record) override;
    // Whether the file had every named column; false also stops its rows.
    bool columnFound() const { return ready_; }
    // The name of a column asked for that the file's header lacks.
    const std::string& missingColumn() const;
    // The file's header is not the first file's: none of its rows were written.
    bool headerRefused() const { return headerRefused_; }
    // A column's position is past the last column of the table's first row
    // (its header, or its first row without one): how many columns there
    // are, or 0 when none is; and which column that was.
    std::size_t columnsBeyond() const { return columnsBeyond_; }
    const std::string& columnBeyond() const;
    // The header of a file that lacks the named column, for the message.
    std::string headerText() const;
    // The header's names that the column's name matches but for case and
    // spaces, when there are several (and so none was taken).
    std::vector<std::string> columnsAlike() const;

    // Over every file: rows too short to have the column, rows shorter and
    // longer than the header (or, without one, than the first row).
    std::size_t rowsWithoutColumn() const { return rowsWithoutColumn_; }
    std::size_t shortRows() const { return shortRows_; }
    std::size_t longRows() const { return longRows_; }
    // "column 2", "column Phone" or "columns Phone, Mobile", for messages.
    std::string columnName() const;

private:
    void header(const CsvRecord& record);
    static long columnNamed(const std::vector<std::string_view>& fields, const std::string& name);
    void row(const CsvRecord& record);
    void writeResult(const EntryAnswer& answer, std::string_view entry);
    // The heading of the result of asked column i, found at `at` in the header.
    std::string resultHeading(std::size_t i, const std::vector<std::string_view>& header) const;
    void writeFields(const CsvRecord& record, std::size_t from, std::size_t to);
    void writeField(std::string_view field, bool guard);
    void endRow(std::string_view end);
    void startOutput();

    const AreaCodeTable& table_;
    const ConvertOptions& options_;
    ByteOutput& out_;
    const ZoneFields* zones_ = nullptr;
    const CsvRecords* records_ = nullptr;
    char delimiter_ = ',';
    char fixedDelimiter_ = 0;
    std::vector<long> columns_;      // from 0, each asked column's; -1 while unknown
    std::vector<long> tableColumns_; // the columns in the first file's header
    bool ready_ = false;             // every column is known, and rows are written
    std::size_t missing_ = 0;        // the asked column the header lacks, or is past the last
    bool inHeader_ = false;
    bool firstRecord_ = true;
    bool firstFile_ = true;
    bool tableStarted_ = false; // a header (or, without one, a row) has been written
    bool headerRefused_ = false;
    std::size_t columnsBeyond_ = 0;
    bool atStart_ = false; // the next field opens a file that had no byte-order mark
    std::vector<std::string> headerFields_; // the first file's header
    std::size_t width_ = 0;                 // the fields a row should have; 0: not known yet
    std::string lastEnd_ = "\n";            // the line end the last row came with
    bool rowOpen_ = false;                  // the last row written had no line end
    std::size_t rowsWithoutColumn_ = 0;
    std::size_t shortRows_ = 0;
    std::size_t longRows_ = 0;
    AnswerCounts* counts_ = nullptr;
    std::vector<EntryAnswer> answers_;                   // a row's, one a column
    std::vector<std::optional<SeveralAnswers>> several_; // a row's cells of several numbers
};

} // namespace tallyvane::batch
