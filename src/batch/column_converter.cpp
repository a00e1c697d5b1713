#include "batch/column_converter.h"

#include "batch/csv_output.h"
#include "batch/entry_answer.h"
#include "entries/byte_order_marks.h"
#include "results/csv_field.h"

#include <algorithm>

namespace tallyvane::batch {

ColumnConverter::ColumnConverter(const AreaCodeTable& table, const ConvertOptions& options,
                                 ByteOutput& out)
    : table_(table), options_(options), out_(out) {}

std::string ColumnConverter::columnName() const {
    return "column " + options_.column;
}

void ColumnConverter::beginFile(const CsvRecords& records, char delimiter) {
    if (records_)
        firstFile_ = false;
    records_ = &records;
    delimiter_ = delimiter;
    inHeader_ = options_.header;
    firstRecord_ = true;
    headerRefused_ = false;
    // A named column is where the first file's header has it.
    column_ = options_.columnNumber > 0 ? options_.columnNumber - 1
              : tableStarted_           ? tableColumn_
                                        : -1;
}

void ColumnConverter::writeField(std::string_view field, bool guard) {
    // Unquoted at the very start, a field's own leading mark bytes would read
    // back as a byte-order mark and be lost.
    const bool markLike = atStart_ && field.starts_with(kUtf8Mark);
    atStart_ = false;
    putCsvField(out_, field, delimiter_, guard, markLike);
}

void ColumnConverter::writeFields(const CsvRecord& record, std::size_t from, std::size_t to) {
    // Most rows have no field to quote: one look at them all tells.
    const bool plain = !atStart_ && !csv::needsQuotes(record.joined, delimiter_);
    for (std::size_t i = from; i < to; ++i) {
        if (i > from)
            out_.put(delimiter_);
        if (plain)
            out_.put(record.fields[i]);
        else
            writeField(record.fields[i], false);
    }
}

// What comes before anything this file writes: the mark of the first file,
// and the line end that the last row of the file before lacked.
void ColumnConverter::startOutput() {
    if (rowOpen_) {
        out_.put(lastEnd_);
        rowOpen_ = false;
    }
}

void ColumnConverter::endRow(std::string_view end) {
    out_.put(end);
    rowOpen_ = end.empty();
    if (!end.empty())
        lastEnd_ = end;
}

void ColumnConverter::header(const CsvRecord& record) {
    inHeader_ = false;
    if (tableStarted_) {
        // One table: a later file must name the same columns, and its header
        // is not written again.
        headerRefused_ = !std::equal(record.fields.begin(), record.fields.end(),
                                     headerFields_.begin(), headerFields_.end());
        if (headerRefused_)
            column_ = -1;
        return;
    }
    if (options_.columnNumber == 0) {
        for (std::size_t i = 0; i < record.fields.size() && column_ < 0; ++i) {
            if (record.fields[i] == options_.column)
                column_ = static_cast<long>(i);
        }
        if (column_ < 0)
            return; // the caller says so, and the file's rows are not written
    }
    tableStarted_ = true;
    tableColumn_ = column_;
    headerFields_.assign(record.fields.begin(), record.fields.end());
    width_ = std::max<std::size_t>(record.fields.size(), std::size_t(column_) + 1);
    startOutput();
    writeFields(record, 0, record.fields.size());
    for (std::size_t i = record.fields.size(); i < width_; ++i)
        out_.put(delimiter_);
    out_.put(delimiter_);
    const std::string name = !options_.resultName.empty() ? options_.resultName
                             : options_.direction == Direction::AreaCodesToStates ? "State"
                                                                                  : "Area Codes";
    writeField(name, true);
    if (options_.withReason) {
        out_.put(delimiter_);
        writeField("Reason", true);
    }
    endRow(record.end);
}

void ColumnConverter::writeResult(const EntryAnswer& answer) {
    out_.put(delimiter_);
    writeField(answer.result, true);
    if (options_.withReason) {
        out_.put(delimiter_);
        writeField(answer.reason, true);
    }
}

void ColumnConverter::row(const CsvRecord& record) {
    if (width_ == 0) // no header: the first row sets the width
        width_ = std::max(record.fields.size(), std::size_t(column_) + 1);
    tableStarted_ = true;
    const std::size_t fields = record.fields.size();
    const std::size_t at = std::size_t(column_);
    EntryAnswer answer; // a blank cell asks nothing and gets a blank result
    if (at >= fields)
        ++rowsWithoutColumn_;
    else if (const std::string_view entry = record.fields[at]; !entry.empty() || counts_)
        answer = answerFor(table_, options_.direction, entry, options_.withReason || counts_);
    if (counts_ && at < fields)
        counts_->add(answer);
    startOutput();
    writeFields(record, 0, std::min(fields, width_));
    if (fields < width_) {
        ++shortRows_;
        for (std::size_t i = fields; i < width_; ++i)
            out_.put(delimiter_);
    }
    writeResult(answer);
    if (fields > width_) {
        ++longRows_;
        out_.put(delimiter_);
        writeFields(record, width_, fields);
    }
    endRow(record.end);
}

void ColumnConverter::record(const CsvRecord& record) {
    if (firstRecord_) {
        firstRecord_ = false;
        // One mark at the most, the first file's.
        atStart_ = firstFile_ && !(records_ && records_->startedWithMark());
        if (firstFile_ && !atStart_)
            out_.put(kUtf8Mark);
    }
    if (record.fields.empty()) { // a blank line stays one, before the header too
        if ((inHeader_ && !tableStarted_) || column_ >= 0) {
            startOutput();
            endRow(record.end);
        }
        atStart_ = false;
        return;
    }
    if (inHeader_)
        return header(record);
    if (column_ >= 0)
        row(record);
}

} // namespace tallyvane::batch
