#include "batch/csv_output.h"

#include "commands/byte_words.h"
#include "commands/csv_field.h"

#include <cstdint>
#include <cstring>

namespace tallyvane::batch {

void putCsvField(ByteOutput& out, std::string_view field, char delimiter, bool guard,
                 bool quoteAnyway) {
    csv::writeField([&out](std::string_view bytes) { out.put(bytes); }, field, delimiter, guard,
                    quoteAnyway);
}

void putQuotesDoubled(ByteOutput& out, std::string_view bytes) {
    csv::writeQuotesDoubled([&out](std::string_view part) { out.put(part); }, bytes);
}

namespace {

bool escapedInTsv(char c) {
    return c == '\t' || c == '\r' || c == '\n' || c == '\\';
}

// Whether a field holds a byte tsv escapes, looked for eight bytes at a time:
// almost no entry does, and tens of millions are written.
bool needsTsvEscapes(std::string_view bytes) {
    std::size_t i = 0;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t x;
        std::memcpy(&x, bytes.data() + i, sizeof x);
        if (hasByte(x, '\t') || hasByte(x, '\r') || hasByte(x, '\n') || hasByte(x, '\\'))
            return true;
    }
    for (; i < bytes.size(); ++i) {
        if (escapedInTsv(bytes[i]))
            return true;
    }
    return false;
}

} // namespace

void putTsvField(ByteOutput& out, std::string_view bytes) {
    if (!needsTsvEscapes(bytes))
        return out.put(bytes);
    std::size_t from = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        const char escaped = c == '\t'   ? 't'
                             : c == '\r' ? 'r'
                             : c == '\n' ? 'n'
                             : c == '\\' ? '\\'
                                         : 0;
        if (escaped == 0)
            continue;
        out.put(bytes.substr(from, i - from));
        out.put('\\');
        out.put(escaped);
        from = i + 1;
    }
    out.put(bytes.substr(from));
}

} // namespace tallyvane::batch
