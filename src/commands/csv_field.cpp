#include "commands/csv_field.h"

#include "commands/byte_words.h"

#include <cstdint>
#include <cstring>

namespace tallyvane::csv {

bool needsQuotes(std::string_view field, char delimiter) {
    const char* p = field.data();
    const char* const end = p + field.size();
    for (; end - p >= 8; p += 8) {
        std::uint64_t x;
        std::memcpy(&x, p, sizeof x);
        if (hasByte(x, '"') || hasByte(x, '\r') || hasByte(x, '\n') ||
            hasByte(x, static_cast<unsigned char>(delimiter)))
            return true;
    }
    for (; p != end; ++p) {
        if (*p == '"' || *p == '\r' || *p == '\n' || *p == delimiter)
            return true;
    }
    return false;
}

} // namespace tallyvane::csv
