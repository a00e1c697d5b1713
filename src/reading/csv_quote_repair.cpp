#include "reading/csv_quote_repair.h"

#include <cstring>

namespace tallyvane {

namespace {
constexpr std::string_view kQuote = "\"";
constexpr std::string_view kDoubledQuote = "\"\"";

std::size_t findQuote(std::string_view bytes, std::size_t from) {
    const void* found = std::memchr(bytes.data() + from, '"', bytes.size() - from);
    return found ? std::size_t(static_cast<const char*>(found) - bytes.data()) : bytes.size();
}
} // namespace

// From `at` in an unquoted field or at a field's start: the position of the
// next quote that opens a quoted field, or the end. A quote inside an
// unquoted field is a plain character, to libcsv and to everyone else.
std::size_t CsvQuoteRepair::unquoted(std::string_view bytes, std::size_t at) {
    for (std::size_t q = findQuote(bytes, at); q < bytes.size(); q = findQuote(bytes, q + 1)) {
        const bool atFieldStart = q == at ? state_ == State::FieldStart : endsField(bytes[q - 1]);
        if (atFieldStart)
            return q;
        state_ = State::Unquoted;
    }
    if (at < bytes.size())
        state_ = endsField(bytes.back()) ? State::FieldStart : State::Unquoted;
    return bytes.size();
}

// The rest of a mended field: up to the delimiter or line end that closes
// it, its quotes doubled; the closing quote goes before that end.
std::size_t CsvQuoteRepair::mending(std::string_view bytes, std::size_t at, const Sink& sink) {
    std::size_t i = at;
    while (i < bytes.size() && !endsField(bytes[i])) {
        if (bytes[i] == '"') {
            sink(bytes.substr(at, i - at));
            sink(kDoubledQuote);
            at = i + 1;
        }
        ++i;
    }
    sink(bytes.substr(at, i - at));
    if (i < bytes.size()) {
        sink(kQuote);
        state_ = State::FieldStart;
    }
    return i;
}

void CsvQuoteRepair::feed(std::string_view bytes, const Sink& sink) {
    std::size_t passFrom = 0; // bytes from here on are passed on as they are
    std::size_t i = 0;
    if (state_ == State::QuoteSeen && !bytes.empty()) {
        // The quote held back from the last bytes.
        if (bytes[0] == '"' || endsField(bytes[0]))
            sink(kQuote);
        else
            mended_ = true;
        state_ = bytes[0] == '"'       ? State::Quoted
                 : endsField(bytes[0]) ? State::FieldStart
                                       : State::Mending;
        if (bytes[0] == '"') { // a doubled quote: the second one is passed below
            passFrom = 0;
            i = 1;
        }
    }
    while (i < bytes.size()) {
        switch (state_) {
        case State::FieldStart:
        case State::Unquoted:
            i = unquoted(bytes, i);
            if (i < bytes.size()) {
                state_ = State::Quoted;
                ++i;
            }
            break;
        case State::Quoted:
            i = findQuote(bytes, i);
            if (i < bytes.size()) {
                state_ = State::QuoteSeen;
                ++i;
            }
            break;
        case State::QuoteSeen: {
            const char c = bytes[i];
            if (c == '"') {
                state_ = State::Quoted;
                ++i;
            } else if (endsField(c)) {
                state_ = State::FieldStart;
                ++i;
            } else { // text after the closing quote: drop that quote, mend the rest
                sink(bytes.substr(passFrom, i - 1 - passFrom));
                mended_ = true;
                state_ = State::Mending;
                passFrom = i;
            }
            break;
        }
        case State::Mending:
            i = mending(bytes, i, sink);
            passFrom = i;
            break;
        }
    }
    if (state_ == State::QuoteSeen && passFrom < bytes.size()) {
        // Whether this quote closes the field or not, the next bytes tell.
        sink(bytes.substr(passFrom, bytes.size() - 1 - passFrom));
        return;
    }
    if (state_ != State::Mending)
        sink(bytes.substr(passFrom));
}

void CsvQuoteRepair::finish(const Sink& sink) {
    if (state_ == State::QuoteSeen || state_ == State::Mending)
        sink(kQuote);
    state_ = State::FieldStart;
}

} // namespace tallyvane
