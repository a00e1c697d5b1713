#pragma once

#include <cstdint>

namespace tallyvane {

// Whether one of the eight bytes of x is b: the classic zero-byte test, for
// scanning text eight bytes at a time where tens of millions of fields pass.
constexpr bool hasByte(std::uint64_t x, unsigned char b) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const std::uint64_t v = x ^ (kOnes * b);
    return ((v - kOnes) & ~v & kHigh) != 0;
}

} // namespace tallyvane
