#include "batch/column_converter.h"

#include "conversion/several_numbers.h"

#include <optional>

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
    delimiter_ = fixedDelimiter_ != 0 ? fixedDelimiter_ : delimiter;
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
        column_ = columnNamed(record.fields, options_.column);
        if (column_ < 0) { // the caller says so, and the file's rows are not written
            headerFields_.assign(record.fields.begin(), record.fields.end());
            return;
        }
    } else if (std::size_t(options_.columnNumber) > record.fields.size()) {
        columnsBeyond_ = record.fields.size();
        column_ = -1;
        return;
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
    if (zones_)
        for (const std::string& heading : zones_->headings(true)) {
            out_.put(delimiter_);
            writeField(heading, true);
        }
    endRow(record.end);
}

namespace {

// A name but for the case of A-Z and spaces around it.
std::string loosely(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    std::string folded(first == std::string_view::npos ? std::string_view()
                                                       : text.substr(first, last - first + 1));
    for (char& c : folded)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
    return folded;
}

template <class Fields>
std::vector<std::size_t> looseMatches(const Fields& fields, const std::string& name) {
    const std::string wanted = loosely(name);
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < fields.size(); ++i)
        if (loosely(fields[i]) == wanted)
            found.push_back(i);
    return found;
}

} // namespace

// The column of that name: the one that is exactly it, or else the only one
// that is it but for the case of A-Z and spaces around it; -1 for none.
long ColumnConverter::columnNamed(const std::vector<std::string_view>& fields,
                                  const std::string& name) {
    const auto it = std::find(fields.begin(), fields.end(), name);
    if (it != fields.end())
        return static_cast<long>(it - fields.begin());
    const std::vector<std::size_t> found = looseMatches(fields, name);
    return found.size() == 1 ? static_cast<long>(found.front()) : -1;
}

std::vector<std::string> ColumnConverter::columnsAlike() const {
    std::vector<std::string> alike;
    for (const std::size_t i : looseMatches(headerFields_, options_.column))
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
    if (width_ == 0 && std::size_t(column_) >= record.fields.size()) {
        // No header: the first row says how many columns there are.
        columnsBeyond_ = record.fields.size();
        column_ = -1;
        return;
    }
    if (width_ == 0) // no header: the first row sets the width
        width_ = std::max(record.fields.size(), std::size_t(column_) + 1);
    tableStarted_ = true;
    const std::size_t fields = record.fields.size();
    const std::size_t at = std::size_t(column_);
    EntryAnswer answer; // a blank cell asks nothing and gets a blank result
    std::optional<SeveralAnswers> several;
    const std::string_view entry = at < fields ? record.fields[at] : std::string_view();
    if (at >= fields)
        ++rowsWithoutColumn_;
    else if (const std::vector<std::string_view> numbers =
                 options_.direction == Direction::AreaCodesToStates
                     ? severalNumbers(entry)
                     : std::vector<std::string_view>();
             !numbers.empty())
        answer = several.emplace(table_, numbers, options_.withReason || counts_).joined();
    else if (!entry.empty())
        answer = answerFor(table_, options_.direction, entry, options_.withReason || counts_);
    if (counts_ && entry.empty())
        counts_->addBlank();
    else if (counts_ && several)
        for (const EntryAnswer& each : several->each())
            counts_->add(each);
    else if (counts_)
        counts_->add(answer);
    startOutput();
    writeFields(record, 0, std::min(fields, width_));
    if (fields < width_) {
        ++shortRows_;
        for (std::size_t i = fields; i < width_; ++i)
            out_.put(delimiter_);
    }
    writeResult(answer, at < fields ? record.fields[at] : std::string_view());
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
