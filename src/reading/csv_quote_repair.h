#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace tallyvane {

// Mends one kind of malformed CSV before the parser sees it: text after the
// closing quote of a field, as in `"Bob" Smith,2015550142`. libcsv would take
// that quote for a literal one and read on to the next quote, so one stray
// character could swallow the rest of the file. Spreadsheet programs and
// Python's csv module keep the text after the quote in the same field
// (`Bob Smith`), and so does this: the stray quote is dropped and the rest of
// the field is passed on inside the quotes, its own quotes doubled. Well-formed
// text passes through untouched, in the slices it came in, found with memchr.
class CsvQuoteRepair {
public:
    using Sink = std::function<void(std::string_view)>;

    explicit CsvQuoteRepair(char delimiter) : delimiter_(delimiter) {}

    // Passes the bytes on to sink, mended; a quote at the very end may be
    // held back until the next bytes tell what it is.
    void feed(std::string_view bytes, const Sink& sink);
    // The end of the input: what is held back goes out.
    void finish(const Sink& sink);
    // A field was mended since the last call (the record being read is malformed).
    bool takeMended() {
        const bool mended = mended_;
        mended_ = false;
        return mended;
    }

private:
    enum class State { FieldStart, Unquoted, Quoted, QuoteSeen, Mending };
    bool endsField(char c) const { return c == delimiter_ || c == '\r' || c == '\n'; }
    std::size_t unquoted(std::string_view bytes, std::size_t at);
    std::size_t mending(std::string_view bytes, std::size_t at, const Sink& sink);

    char delimiter_;
    State state_ = State::FieldStart;
    bool mended_ = false;
};

} // namespace tallyvane
