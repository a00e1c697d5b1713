#include "conversion/area_code.h"

#include <algorithm>
#include <cstring>

namespace tallyvane {

QString AreaCode::text() const {
    QString digits(length_, Qt::Uninitialized);
    for (int i = length_ - 1, rest = value_; i >= 0; --i, rest /= 10)
        digits[i] = QLatin1Char(static_cast<char>('0' + rest % 10));
    return digits;
}

namespace {

// A bit for each of the eight bytes at p that is an ASCII digit (bit i for
// byte i), without a branch per byte.
unsigned digitMask(const char* p) {
    std::uint64_t x;
    std::memcpy(&x, p, sizeof x);
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Fu;
    const std::uint64_t atLeastZero = ((x & kLow7) + 0x5050505050505050u) & kHigh;
    const std::uint64_t atMostNine = (0xB9B9B9B9B9B9B9B9u - (x & kLow7)) & kHigh;
    const std::uint64_t ones = (atLeastZero & atMostNine & ~x & kHigh) >> 7;
    // Byte i's bit moves to bit 56 + i; the multiplication gathers them.
    return static_cast<unsigned>((ones * 0x0102040810204080u) >> 56);
}

// How many bits of a 16-bit mask are set, without the library call that
// __builtin_popcount becomes on the baseline x86-64 the package is built for.
unsigned bitsSet16(unsigned x) {
    x = x - ((x >> 1) & 0x5555u);
    x = (x & 0x3333u) + ((x >> 2) & 0x3333u);
    x = (x + (x >> 4)) & 0x0F0Fu;
    return (x + (x >> 8)) & 0x1Fu;
}

// How many of the eight bytes at p are ASCII digits, all at once.
unsigned digitsInWord(const char* p) {
    return bitsSet16(digitMask(p));
}

} // namespace

// An entry of 8 to 16 bytes (most phone numbers) that opens with neither a
// space nor a "+": its digits are found with two eight-byte looks, one from
// each end, and the code read from where they are.
inline bool AreaCode::readShort(std::string_view entry) {
    const std::size_t size = entry.size();
    if (size < 8 || size > 16 || entry[0] == ' ' || entry[0] == '\t' || entry[0] == '+')
        return false;
    unsigned mask = digitMask(entry.data()) | (digitMask(entry.data() + size - 8) << (size - 8));
    lead_ = Lead::Settled;
    if (mask == 0)
        return true;
    sawDigit_ = true;
    // Only the first leading 1 goes; without a branch, since whether a
    // number has one is anybody's guess from line to line.
    const unsigned leadingOne = entry[std::size_t(__builtin_ctz(mask))] == '1' ? 1u : 0u;
    mask ^= mask & (0u - mask) & (0u - leadingOne);
    const unsigned digits = bitsSet16(mask);
    if (digits >= 3) {
        const unsigned first = unsigned(__builtin_ctz(mask));
        mask &= mask - 1;
        const unsigned second = unsigned(__builtin_ctz(mask));
        mask &= mask - 1;
        const unsigned third = unsigned(__builtin_ctz(mask));
        value_ = (entry[first] - '0') * 100 + (entry[second] - '0') * 10 + (entry[third] - '0');
        length_ = 3;
    } else {
        for (; mask != 0; mask &= mask - 1) {
            value_ = value_ * 10 + (entry[std::size_t(__builtin_ctz(mask))] - '0');
            ++length_;
        }
    }
    digits_ = static_cast<std::uint8_t>(std::min<unsigned>(digits, kMoreThanLocal));
    return true;
}

template <class Unit> bool AreaCode::readCode(const Unit*& p, const Unit* end) {
    const auto unit = [](Unit u) {
        return static_cast<char32_t>(static_cast<std::make_unsigned_t<Unit>>(u));
    };
    while (p != end && (*p == ' ' || *p == '\t'))
        ++p;
    if (p != end && *p == '+') {
        ++p;
        while (p != end && separatesCountry(unit(*p)))
            ++p;
        if (p != end && isAsciiDigit(unit(*p)) && *p != '1') { // another country's number
            lead_ = Lead::Foreign;
            for (; p != end && countryLength_ < 3; ++p) {
                if (isAsciiDigit(unit(*p))) {
                    country_ = country_ * 10 + static_cast<int>(unit(*p) - U'0');
                    ++countryLength_;
                }
            }
            return false;
        }
    }
    lead_ = Lead::Settled;
    for (; p != end && length_ < 3; ++p) {
        const auto digit = static_cast<unsigned>(static_cast<std::make_unsigned_t<Unit>>(*p)) - '0';
        if (digit > 9)
            continue;
        if (!sawDigit_) {
            sawDigit_ = true;
            if (digit == 1)
                continue;
        }
        value_ = value_ * 10 + static_cast<int>(digit);
        ++length_;
    }
    return true;
}

AreaCode AreaCode::of(QStringView entry) {
    AreaCode code;
    const char16_t* p = entry.utf16();
    const char16_t* const end = p + entry.size();
    if (!code.readCode(p, end))
        return code;
    // Only whether there are exactly seven digits is still open.
    unsigned digits = code.length_;
    for (; p != end && digits < kMoreThanLocal; ++p)
        digits += static_cast<unsigned>(*p - u'0') <= 9;
    code.digits_ = static_cast<std::uint8_t>(std::min<unsigned>(digits, kMoreThanLocal));
    return code;
}

AreaCode AreaCode::ofUtf8(std::string_view entry) {
    AreaCode code;
    if (code.readShort(entry))
        return code;
    const char* p = entry.data();
    const char* const end = p + entry.size();
    if (!code.readCode(p, end))
        return code;
    // Only whether there are exactly seven digits is still open: the rest is
    // counted eight bytes at a time.
    std::size_t digits = code.length_;
    for (; end - p >= 8 && digits < kMoreThanLocal; p += 8)
        digits += digitsInWord(p);
    for (; p != end; ++p)
        digits += static_cast<unsigned char>(*p - '0') <= 9;
    code.digits_ = static_cast<std::uint8_t>(std::min<std::size_t>(digits, kMoreThanLocal));
    return code;
}

} // namespace tallyvane
