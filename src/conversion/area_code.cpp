#include "conversion/area_code.h"

namespace tallyvane {

QString AreaCode::text() const {
    QString digits(length_, Qt::Uninitialized);
    for (int i = length_ - 1, rest = value_; i >= 0; --i, rest /= 10)
        digits[i] = QLatin1Char(static_cast<char>('0' + rest % 10));
    return digits;
}

namespace {

template <class Unit> char32_t unitOf(Unit u) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<Unit>>(u));
}

// The next character of the entry: a UTF-16 unit as it is, UTF-8 decoded
// (U+FFFD for a malformed sequence).
char32_t nextCharacter(const char16_t*& p, const char16_t*) {
    return *p++;
}
char32_t nextCharacter(const char*& p, const char* end) {
    const auto lead = static_cast<unsigned char>(*p++);
    if (lead < 0x80)
        return lead;
    const int more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t c = lead & (0x3Fu >> more);
    for (int i = 0; i < more; ++i, ++p) {
        if (p == end || (static_cast<unsigned char>(*p) & 0xC0) != 0x80)
            return 0xFFFD;
        c = (c << 6) | (static_cast<unsigned char>(*p) & 0x3F);
    }
    return more == 0 ? 0xFFFD : AreaCode::wellFormed(c, more);
}

} // namespace

template <class Unit> bool AreaCode::readLead(const Unit*& p, const Unit* end) {
    // Up to the number's first digit, noting whether a "+" stands just before it.
    bool plus = false;
    while (p != end && !isAsciiDigit(unitOf(*p))) {
        const char32_t c = nextCharacter(p, end);
        plus = c == U'+' || (plus && separatesCountry(c));
    }
    if (plus && p != end && *p != '1') { // another country's number
        lead_ = Lead::Foreign;
        for (; p != end && countryLength_ < 3; ++p) {
            if (isAsciiDigit(unitOf(*p))) {
                country_ = country_ * 10 + static_cast<int>(unitOf(*p) - U'0');
                ++countryLength_;
            }
        }
        return false;
    }
    lead_ = Lead::Settled;
    return true;
}

template <class Unit> AreaCode AreaCode::readWhole(const Unit* p, const Unit* end) {
    AreaCode code;
    if (!code.readLead(p, end))
        return code;
    const NumberDigits number = numberDigits(p, end);
    for (std::uint8_t i = 0; i < number.count; ++i)
        code.take(number.digits[i]);
    code.settle();
    return code;
}

AreaCode AreaCode::of(QStringView entry) {
    return readWhole(entry.utf16(), entry.utf16() + entry.size());
}

AreaCode AreaCode::ofUtf8Long(std::string_view entry) {
    AreaCode code;
    const char* p = entry.data();
    const char* const end = p + entry.size();
    if (!code.readLead(p, end))
        return code;
    // "+1 603 237 4934": past the plus, a number of the common form.
    if (p != entry.data() && code.readShort(std::string_view(p, std::size_t(end - p))))
        return code;
    // Eight bytes at a time while no extension marker is among them: the
    // first four digits are kept, the rest only counted.
    for (; end - p >= 8 && code.seen_ < kPastTen && !digit_words::hasExtensionMarker(p); p += 8) {
        unsigned mask = digit_words::digitMask(p);
        for (; mask != 0 && code.seen_ < code.first_.size(); mask &= mask - 1)
            code.take(static_cast<unsigned>(p[__builtin_ctz(mask)] - '0'));
        code.seen_ = static_cast<std::uint8_t>(
            std::min<unsigned>(code.seen_ + digit_words::bitsSet16(mask), kPastTen));
    }
    // The rest, and a word with a marker, byte by byte.
    for (; p != end && code.seen_ < kPastTen; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c - unsigned('0') <= 9)
            code.take(c - unsigned('0'));
        else if (code.seen_ != 0 && marksExtension(c))
            break;
    }
    code.settle();
    return code;
}

} // namespace tallyvane
