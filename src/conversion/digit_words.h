#pragma once

#include <cstdint>
#include <cstring>

// Eight bytes at a time, without a branch per byte: the batch program reads
// tens of millions of phone numbers, and which of their bytes are digits is
// anybody's guess from line to line.
namespace tallyvane::digit_words {

// A bit for each of the eight bytes at p that is an ASCII digit (bit i for
// byte i): a byte's high bit says whether it is at least '0', at most '9',
// and ASCII at all.
inline unsigned digitMask(std::uint64_t x) {
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    const std::uint64_t atLeastZero = ((x & kLow7) + 0x5050505050505050u) & kHigh;
    const std::uint64_t atMostNine = (0xB9B9B9B9B9B9B9B9u - (x & kLow7)) & kHigh;
    const std::uint64_t ones = (atLeastZero & atMostNine & ~x & kHigh) >> 7;
    // Byte i's bit moves to bit 56 + i; the multiplication gathers them.
    return static_cast<unsigned>((ones * 0x0102040810204080u) >> 56);
}
inline unsigned digitMask(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return digitMask(x);
}

// The high bit of each byte of v that is zero, and no other bit: no carry
// crosses from one byte to the next.
inline std::uint64_t zeroBytes(std::uint64_t v) {
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    return ~(((v & kLow7) + kLow7) | v | kLow7);
}

// Whether any of the eight bytes at p is "x", "X" or "#", which may begin a
// phone number's extension.
inline bool hasExtensionMarker(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return (zeroBytes((x | 0x2020202020202020u) ^ 0x7878787878787878u) |
            zeroBytes(x ^ 0x2323232323232323u)) != 0;
}

// Whether any of the sixteen bytes of two words may be a letter (any byte
// from 0x40 on) or "#": a cheap look that clears the common phone number,
// made of digits, spaces and punctuation, of ever holding an extension.
inline bool mayHoldExtension(std::uint64_t a, std::uint64_t b) {
    return (((a | b) & 0x4040404040404040u) | zeroBytes(a ^ 0x2323232323232323u) |
            zeroBytes(b ^ 0x2323232323232323u)) != 0;
}
// The same, and whether a byte past the first may be "+" (a country code
// behind a label or a quote) or ":" (several numbers joined): an entry the
// quick readings leave to the careful one.
inline bool needsCare(std::uint64_t a, std::uint64_t b) {
    constexpr std::uint64_t kPlus = 0x2B2B2B2B2B2B2B2Bu;
    constexpr std::uint64_t kColon = 0x3A3A3A3A3A3A3A3Au;
    const std::uint64_t past = a | 0xFF; // the first byte is no "+" here
    return mayHoldExtension(a, b) || (zeroBytes(past ^ kPlus) | zeroBytes(b ^ kPlus) |
                                      zeroBytes(a ^ kColon) | zeroBytes(b ^ kColon)) != 0;
}
inline bool mayHoldExtension(const char* first, const char* second) {
    std::uint64_t a, b;
    std::memcpy(&a, first, sizeof a);
    std::memcpy(&b, second, sizeof b);
    return mayHoldExtension(a, b);
}

// How many bits of a 16-bit mask are set, without the library call that
// __builtin_popcount becomes on the baseline x86-64 the package is built for.
inline unsigned bitsSet16(unsigned x) {
    x = x - ((x >> 1) & 0x5555u);
    x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
    x = (x + (x >> 4)) & 0x0F0Fu;
    return (x + (x >> 8)) & 0x1Fu;
}

} // namespace tallyvane::digit_words
