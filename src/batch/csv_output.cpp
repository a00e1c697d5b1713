#include "batch/csv_output.h"

#include "results/csv_field.h"

namespace tallyvane::batch {

void putCsvField(ByteOutput& out, std::string_view field, char delimiter, bool guard,
                 bool quoteAnyway) {
    const bool quoted = quoteAnyway || csv::needsQuotes(field, delimiter);
    if (quoted)
        out.put('"');
    if (guard && !field.empty() && csv::startsLikeFormula(csv::unit(field.front())))
        out.put('\'');
    if (quoted) {
        putQuotesDoubled(out, field);
        out.put('"');
    } else {
        out.put(field);
    }
}

void putQuotesDoubled(ByteOutput& out, std::string_view bytes) {
    for (std::size_t quote; (quote = bytes.find('"')) != std::string_view::npos;) {
        out.put(bytes.substr(0, quote + 1));
        out.put('"');
        bytes.remove_prefix(quote + 1);
    }
    out.put(bytes);
}

void putTsvField(ByteOutput& out, std::string_view bytes) {
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
