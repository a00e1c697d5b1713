#include "entries/csv_records.h"

#include <csv.h>

#include <algorithm>
#include <new>

namespace tallyvane {

namespace {
// Spaces belong to a field: the library would otherwise trim them.
int noSpaces(unsigned char) {
    return 0;
}
} // namespace

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

CsvRecords::CsvRecords(char delimiter)
    : parser_(std::make_unique<csv_parser>()), delimiter_(delimiter) {
    start();
}

void CsvRecords::start() {
    // Every line end is told apart, so that a record's own is kept and a
    // blank line is a record too.
    if (csv_init(parser_.get(), CSV_REPALL_NL) != 0)
        throw std::bad_alloc();
    csv_set_delim(parser_.get(), static_cast<unsigned char>(delimiter_));
    csv_set_space_func(parser_.get(), noSpaces);
}

CsvRecords::~CsvRecords() {
    csv_free(parser_.get());
}

void CsvRecords::onField(void* text, std::size_t size, void* self) {
    auto& records = *static_cast<CsvRecords*>(self);
    if (records.pendingCr_)
        records.emit("\r");
    if (size > 0)
        records.text_.append(static_cast<const char*>(text), size);
    records.fieldEnds_.push_back(records.text_.size());
}

void CsvRecords::onEnd(int c, void* self) {
    auto& records = *static_cast<CsvRecords*>(self);
    if (records.pendingCr_) {
        // The LF of a CR LF comes as a line of its own; a field since the CR
        // would have closed the record already.
        if (c == '\n')
            return records.emit("\r\n");
        records.emit("\r");
    }
    if (c == '\r')
        records.pendingCr_ = true;
    else
        records.emit(c == '\n' ? "\n" : "");
}

void CsvRecords::emit(std::string_view end) {
    pendingCr_ = false;
    record_.fields.clear();
    std::size_t start = 0;
    for (const std::size_t fieldEnd : fieldEnds_) {
        record_.fields.emplace_back(text_.data() + start, fieldEnd - start);
        start = fieldEnd;
    }
    record_.end = end;
    reader_->record(record_);
    text_.clear();
    fieldEnds_.clear();
}

void CsvRecords::parse(const char* data, std::size_t size) {
    if (csv_parse(parser_.get(), data, size, onField, onEnd, this) != size &&
        csv_error(parser_.get()) == CSV_ENOMEM)
        throw std::bad_alloc();
}

void CsvRecords::feed(const char* data, std::size_t size, Reader& reader) {
    reader_ = &reader;
    if (finished_) { // another input: it may have a mark of its own
        finished_ = false;
        mark_ = Mark::Undecided;
        head_.clear();
    }
    if (mark_ == Mark::Undecided) {
        const std::size_t take = std::min(size, kUtf8Mark.size() - head_.size());
        head_.append(data, take);
        data += take;
        size -= take;
        if (head_.size() < kUtf8Mark.size() && kUtf8Mark.starts_with(head_))
            return; // the rest of a mark may come with the next chunk
        mark_ = head_ == kUtf8Mark ? Mark::Found : Mark::None;
        if (mark_ == Mark::None)
            parse(head_.data(), head_.size());
    }
    parse(data, size);
}

void CsvRecords::finish(Reader& reader) {
    reader_ = &reader;
    if (mark_ == Mark::Undecided && !head_.empty())
        parse(head_.data(), head_.size()); // a text shorter than a mark
    // A record without a line end is closed by the end of the input.
    csv_fini(parser_.get(), onField, onEnd, this);
    if (pendingCr_)
        emit("\r");
    else if (!fieldEnds_.empty())
        emit("");
    csv_free(parser_.get());
    start(); // ready for the next input, with the same delimiter
    finished_ = true;
}

} // namespace tallyvane
