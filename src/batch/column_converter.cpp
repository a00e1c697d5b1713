#include "batch/column_converter.h"

#include "batch/csv_output.h"
#include "commands/csv_field.h"
#include "conversion/entry_answer.h"
#include "conversion/several_numbers.h"
#include "reading/byte_order_marks.h"
#include "reading/table_names.h"

#include <algorithm>
#include <optional>

namespace tallyvane::batch {

ColumnConverter::ColumnConverter(const AreaCodeTable& table, const ConvertOptions& options,
                                 ByteOutput& out)
    : table_(table), options_(options), out_(out) {}

std::string ColumnConverter::columnName() const {
    const auto& asked = options_.columnsAsked;
    if (asked.size() <= 1)
        return "column " + asked.front().name;
    std::string names;
    for (const ConvertOptions::ColumnAsked& column : asked)
        names += (names.empty() ? "columns " : ", ") + column.name;
    return names;
}

const std::string& ColumnConverter::missingColumn() const {
    return options_.columnsAsked.at(missing_).name;
}

const std::string& ColumnConverter::columnBeyond() const {
    return options_.columnsAsked.at(missing_).name;
}

void ColumnConverter::beginFile(const CsvRecords& records, char delimiter) {
    if (records_)
        firstFile_ = false;
    records_ = &records;
    delimiter_ = fixedDelimiter_ != 0 ? fixedDelimiter_ : delimiter;
    inHeader_ = options_.header;
    firstRecord_ = true;
    headerRefused_ = false;
    // A named column is where the first file's header has it.
    const auto& asked = options_.columnsAsked;
    columns_.assign(asked.size(), -1);
    ready_ = true;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        columns_[i] = asked[i].number > 0 ? asked[i].number - 1
                      : tableStarted_     ? tableColumns_[i]
                                          : -1;
        ready_ = ready_ && columns_[i] >= 0;
    }
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
        ready_ = ready_ && !headerRefused_;
        return;
    }
    const auto& asked = options_.columnsAsked;
    for (std::size_t i = 0; i < asked.size(); ++i) {
        if (asked[i].number == 0)
            columns_[i] = columnNamed(record.fields, asked[i].name);
        if (columns_[i] < 0) { // the caller says so, and the file's rows are not written
            missing_ = i;
            ready_ = false;
            headerFields_.assign(record.fields.begin(), record.fields.end());
            return;
        }
        if (std::size_t(columns_[i]) >= record.fields.size()) {
            missing_ = i;
            columnsBeyond_ = record.fields.size();
            ready_ = false;
            return;
        }
    }
    ready_ = true;
    tableStarted_ = true;
    tableColumns_ = columns_;
    headerFields_.assign(record.fields.begin(), record.fields.end());
    width_ = record.fields.size();
    startOutput();
    writeFields(record, 0, record.fields.size());
    for (std::size_t i = 0; i < asked.size(); ++i) {
        out_.put(delimiter_);
        writeField(resultHeading(i, record.fields), true);
        if (options_.withReason) {
            out_.put(delimiter_);
            writeField("Reason", true);
        }
        if (zones_)
            for (const std::string& heading : zones_->headings(true)) {
                out_.put(delimiter_);
                writeField(heading, true);
            }
    }
    endRow(record.end);
}

// One column's result is "State" (or as --result-name says); several are
// told apart by their columns: "State (Phone 1 - Value)".
std::string ColumnConverter::resultHeading(std::size_t i,
                                           const std::vector<std::string_view>& header) const {
    if (i < options_.resultNames.size())
        return options_.resultNames[i];
    const std::string result =
        options_.direction == Direction::AreaCodesToStates ? "State" : "Area Codes";
    if (options_.columnsAsked.size() == 1)
        return result;
    const long at = columns_[i];
    const std::string column = at >= 0 && std::size_t(at) < header.size()
                                   ? std::string(header[std::size_t(at)])
                                   : "column " + options_.columnsAsked[i].name;
    return result + " (" + column + ")";
}

// The column of that name (see nameMeant); -1 for none.
long ColumnConverter::columnNamed(const std::vector<std::string_view>& fields,
                                  const std::string& name) {
    const std::optional<std::size_t> meant = nameMeant(fields, name);
    return meant ? static_cast<long>(*meant) : -1;
}

std::vector<std::string> ColumnConverter::columnsAlike() const {
    std::vector<std::string> alike;
    for (const std::size_t i : namesAlike(viewsOf(headerFields_), missingColumn()))
        alike.push_back(headerFields_[i]);
    return alike.size() > 1 ? alike : std::vector<std::string>();
}

std::string ColumnConverter::headerText() const {
    std::string text;
    for (const std::string& field : headerFields_)
        text += (text.empty() ? "" : ", ") + field;
    return text;
}

void ColumnConverter::writeResult(const EntryAnswer& answer, std::string_view entry) {
    out_.put(delimiter_);
    writeField(answer.result, true);
    if (options_.withReason) {
        out_.put(delimiter_);
        writeField(answer.reason, true);
    }
    if (!zones_)
        return;
    for (const std::string& field :
         zones_->fieldsFor(options_.direction, entry, answer.id != AreaCodeTable::kNotFound)) {
        out_.put(delimiter_);
        writeField(field, true);
    }
}

void ColumnConverter::row(const CsvRecord& record) {
    const std::size_t fields = record.fields.size();
    if (width_ == 0) {
        // No header: the first row says how many columns there are.
        for (std::size_t i = 0; i < columns_.size(); ++i) {
            if (std::size_t(columns_[i]) >= fields) {
                missing_ = i;
                columnsBeyond_ = fields;
                ready_ = false;
                return;
            }
        }
        width_ = fields;
    }
    tableStarted_ = true;
    // Each column's answer; a blank cell asks nothing and gets a blank result.
    // The vectors are kept from row to row: a row costs no allocation.
    std::vector<EntryAnswer>& answers = answers_;
    std::vector<std::optional<SeveralAnswers>>& several = several_;
    answers.assign(columns_.size(), EntryAnswer());
    several.resize(columns_.size());
    bool lacking = false;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const std::size_t at = std::size_t(columns_[c]);
        lacking = lacking || at >= fields;
        const std::string_view entry = at < fields ? record.fields[at] : std::string_view();
        several[c].reset();
        if (const std::vector<std::string_view> numbers =
                options_.direction == Direction::AreaCodesToStates &&
                        entry.find(':') != std::string_view::npos
                    ? severalNumbers(entry)
                    : std::vector<std::string_view>();
            !numbers.empty())
            answers[c] =
                several[c].emplace(table_, numbers, options_.withReason || counts_).joined();
        else if (!entry.empty())
            answers[c] =
                answerFor(table_, options_.direction, entry, options_.withReason || counts_);
        if (counts_ && entry.empty())
            counts_->addBlank();
        else if (counts_ && several[c])
            for (const EntryAnswer& each : several[c]->each())
                counts_->add(each);
        else if (counts_)
            counts_->add(answers[c]);
    }
    rowsWithoutColumn_ += lacking ? 1 : 0;
    startOutput();
    writeFields(record, 0, std::min(fields, width_));
    if (fields < width_) {
        ++shortRows_;
        for (std::size_t i = fields; i < width_; ++i)
            out_.put(delimiter_);
    }
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        const std::size_t at = std::size_t(columns_[c]);
        writeResult(answers[c], at < fields ? record.fields[at] : std::string_view());
    }
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
        if ((inHeader_ && !tableStarted_) || ready_) {
            startOutput();
            endRow(record.end);
        }
        atStart_ = false;
        return;
    }
    if (inHeader_)
        return header(record);
    if (ready_)
        row(record);
}

} // namespace tallyvane::batch
