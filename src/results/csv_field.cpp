#include "results/csv_field.h"

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

} // namespace tallyvane::csv
