#include "convert/column_converter.h"

#include "convert/csv_output.h"
#include "convert/entry_answer.h"
#include "entries/byte_order_marks.h"
#include "results/csv_field.h"

namespace tallyvane::convert {

ColumnConverter::ColumnConverter(const AreaCodeTable& table, const ConvertOptions& options,
                                 ByteOutput& out)
    : table_(table), options_(options), out_(out) {}

std::string ColumnConverter::columnName() const {
    return "column " + options_.column;
}

void ColumnConverter::beginFile(const CsvRecords& records, char delimiter) {
    records_ = &records;
    delimiter_ = delimiter;
    inHeader_ = options_.header;
    firstRecord_ = true;
    column_ = options_.columnNumber > 0 ? options_.columnNumber - 1 : -1;
}

void ColumnConverter::writeField(std::string_view field, bool guard) {
    // Unquoted at the very start, a field's own leading mark bytes would read
    // back as a byte-order mark and be lost.
    const bool markLike = atStart_ && field.starts_with(kUtf8Mark);
    atStart_ = false;
    putCsvField(out_, field, delimiter_, guard, markLike);
}

void ColumnConverter::writeFields(const CsvRecord& record) {
    // Most rows have no field to quote: one look at them all tells.
    if (!atStart_ && !csv::needsQuotes(record.joined, delimiter_)) {
        for (std::size_t i = 0; i < record.fields.size(); ++i) {
            if (i > 0)
                out_.put(delimiter_);
            out_.put(record.fields[i]);
        }
        return;
    }
    for (std::size_t i = 0; i < record.fields.size(); ++i) {
        if (i > 0)
            out_.put(delimiter_);
        writeField(record.fields[i], false);
    }
}

void ColumnConverter::header(const CsvRecord& record) {
    inHeader_ = false;
    if (options_.columnNumber == 0) {
        for (std::size_t i = 0; i < record.fields.size() && column_ < 0; ++i) {
            if (record.fields[i] == options_.column)
                column_ = static_cast<long>(i);
        }
        if (column_ < 0)
            return; // the caller says so, and the file's rows are not written
    }
    writeFields(record);
    out_.put(delimiter_);
    const std::string name = !options_.resultName.empty() ? options_.resultName
                             : options_.direction == Direction::AreaCodesToStates ? "State"
                                                                                  : "Area Codes";
    writeField(name, true);
    if (options_.withReason) {
        out_.put(delimiter_);
        writeField("Reason", true);
    }
    out_.put(record.end);
}

void ColumnConverter::record(const CsvRecord& record) {
    if (firstRecord_) {
        firstRecord_ = false;
        atStart_ = !(records_ && records_->startedWithMark());
        if (!atStart_)
            out_.put(kUtf8Mark);
    }
    if (record.fields.empty()) { // a blank line stays one, before the header too
        if (inHeader_ || column_ >= 0)
            out_.put(record.end);
        atStart_ = false;
        return;
    }
    if (inHeader_)
        return header(record);
    if (column_ < 0)
        return;
    writeFields(record);
    EntryAnswer answer; // a blank cell asks nothing and gets a blank result
    if (static_cast<std::size_t>(column_) >= record.fields.size())
        ++rowsWithoutColumn_;
    else if (const std::string_view entry = record.fields[std::size_t(column_)];
             !entry.empty() || counts_)
        answer = answerFor(table_, options_.direction, entry, options_.withReason || counts_);
    if (counts_ && static_cast<std::size_t>(column_) < record.fields.size())
        counts_->add(answer);
    out_.put(delimiter_);
    writeField(answer.result, true);
    if (options_.withReason) {
        out_.put(delimiter_);
        writeField(answer.reason, true);
    }
    out_.put(record.end);
}

} // namespace tallyvane::convert
