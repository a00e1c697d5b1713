#include "commands/csv_field.h"

#include <cstdint>
#include <cstring>

namespace tallyvane::csv {

namespace {

constexpr std::uint64_t kOnes = 0x0101010101010101u;
constexpr std::uint64_t kHigh = 0x8080808080808080u;

// A byte of x that equals the byte b, in any of the eight places.
bool hasByte(std::uint64_t x, unsigned char b) {
    const std::uint64_t v = x ^ (kOnes * b);
    return ((v - kOnes) & ~v & kHigh) != 0;
}

} // namespace

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

void appendField(std::string& out, std::string_view field, char delimiter) {
    if (!needsQuotes(field, delimiter)) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (std::size_t at = 0;;) {
        const std::size_t quote = field.find('"', at);
        out.append(field.substr(at, quote == std::string_view::npos ? quote : quote + 1 - at));
        if (quote == std::string_view::npos)
            break;
        out.push_back('"');
        at = quote + 1;
    }
    out.push_back('"');
}

} // namespace tallyvane::csv
