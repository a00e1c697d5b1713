#include "reading/csv_records.h"

#include "reading/byte_order_marks.h"

#include <csv.h>

#include <algorithm>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallyvane {

namespace {
// Spaces belong to a field: the library would otherwise trim them.
int noSpaces(unsigned char) {
    return 0;
}

bool isBlank(unsigned char c, unsigned char delimiter) {
    return (c == ' ' || c == '\t') && c != delimiter;
}

bool isEdge(unsigned char c, unsigned char delimiter) {
    return c == delimiter || c == '\r' || c == '\n';
}

bool mattersAt(const unsigned char* data, std::size_t size, std::size_t i,
               unsigned char delimiter) {
    return isBlank(data[i], delimiter) &&
           (i == 0 || i + 1 == size || isEdge(data[i - 1], delimiter) ||
            isEdge(data[i + 1], delimiter));
}

// The first space or tab from `at` on that the library's own idea of spaces
// would read differently from noSpaces, or size. The library drops spaces
// only at the start or the end of a field (after a closing quote too): next
// to a delimiter or a line end, or at either end of the bytes it is given,
// which may be a field's start or end. Elsewhere its state after a run of
// spaces is the same either way.
std::size_t nextSpaceThatMatters(const unsigned char* data, std::size_t size, std::size_t at,
                                 unsigned char delimiter) {
    if (at == 0 && size > 0 && mattersAt(data, size, 0, delimiter))
        return 0;
    std::size_t i = std::max<std::size_t>(at, 1);
#if defined(__SSE2__)
    const auto equal = [](__m128i bytes, unsigned char c) {
        return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(static_cast<char>(c)));
    };
    const auto edge = [&](__m128i b) {
        return _mm_or_si128(equal(b, delimiter), _mm_or_si128(equal(b, '\r'), equal(b, '\n')));
    };
    const auto load = [&](std::size_t from) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
    };
    for (; i + 17 <= size; i += 16) {
        const __m128i b = load(i);
        const __m128i blank =
            _mm_andnot_si128(equal(b, delimiter), _mm_or_si128(equal(b, ' '), equal(b, '\t')));
        const __m128i nextToEdge = _mm_or_si128(edge(load(i - 1)), edge(load(i + 1)));
        if (const int hits = _mm_movemask_epi8(_mm_and_si128(blank, nextToEdge)))
            return i + std::size_t(__builtin_ctz(static_cast<unsigned>(hits)));
    }
#endif
    for (; i < size; ++i) {
        if (mattersAt(data, size, i, delimiter))
            return i;
    }
    return size;
}
} // namespace

CsvRecords::CsvRecords(char delimiter, Spaces spaces)
    : parser_(std::make_unique<csv_parser>()), delimiter_(delimiter), careful_(spaces),
      repair_(delimiter) {
    start();
}

void CsvRecords::start() {
    // Every line end is told apart, so that a record's own is kept and a
    // blank line is a record too.
    if (csv_init(parser_.get(), CSV_REPALL_NL) != 0)
        throw std::bad_alloc();
    csv_set_delim(parser_.get(), static_cast<unsigned char>(delimiter_));
    csv_set_space_func(parser_.get(), noSpaces);
    spaceFunction_ = true;
}

CsvRecords::~CsvRecords() {
    csv_free(parser_.get());
}

void CsvRecords::onField(void* text, std::size_t size, void* self) {
    auto& records = *static_cast<CsvRecords*>(self);
    if (records.pendingCr_)
        records.emit("\r");
    // A field is mended before it ends, so the flag belongs to this record.
    records.recordMended_ = records.repair_.takeMended() || records.recordMended_;
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
    record_.joined = text_;
    record_.malformed = recordMended_;
    malformed_ += recordMended_ ? 1 : 0;
    recordMended_ = false;
    reader_->record(record_);
    text_.clear();
    fieldEnds_.clear();
}

// The library calls a function for every byte to learn whether it is a space;
// its own inline test is far cheaper but drops spaces around fields. So the
// bytes go in runs: the spaces that the two would read differently, with the
// call, and everything between them without. A run may stop anywhere, since
// neither ends with a space pending.
void CsvRecords::parse(const char* data, std::size_t size) {
    if (careful_ == Spaces::KeptAlways)
        return parseRun(data, size, true);
    const auto* bytes = reinterpret_cast<const unsigned char*>(data);
    const auto delimiter = static_cast<unsigned char>(delimiter_);
    std::size_t plainFrom = 0;
    for (std::size_t at = 0; (at = nextSpaceThatMatters(bytes, size, at, delimiter)) < size;) {
        std::size_t from = at, to = at + 1;
        while (from > plainFrom && isBlank(bytes[from - 1], delimiter))
            --from;
        while (to < size && isBlank(bytes[to], delimiter))
            ++to;
        parseRun(data + plainFrom, from - plainFrom, false);
        parseRun(data + from, to - from, true);
        plainFrom = at = to;
    }
    parseRun(data + plainFrom, size - plainFrom, false);
}

void CsvRecords::parseRun(const char* data, std::size_t size, bool spacesMatter) {
    if (size == 0)
        return;
    if (spacesMatter != spaceFunction_) {
        csv_set_space_func(parser_.get(), spacesMatter ? noSpaces : nullptr);
        spaceFunction_ = spacesMatter;
    }
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
            mendAndParse(head_.data(), head_.size());
    }
    mendAndParse(data, size);
}

void CsvRecords::mendAndParse(const char* data, std::size_t size) {
    repair_.feed(std::string_view(data, size),
                 [this](std::string_view bytes) { parse(bytes.data(), bytes.size()); });
}

void CsvRecords::finish(Reader& reader) {
    reader_ = &reader;
    if (mark_ == Mark::Undecided && !head_.empty())
        mendAndParse(head_.data(), head_.size()); // a text shorter than a mark
    repair_.finish([this](std::string_view bytes) { parse(bytes.data(), bytes.size()); });
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
