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

// How many of the eight bytes at p are ASCII digits, all at once.
unsigned digitsInWord(const char* p) {
    return digit_words::bitsSet16(digit_words::digitMask(p));
}

} // namespace

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

AreaCode AreaCode::ofUtf8Long(std::string_view entry) {
    AreaCode code;
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
