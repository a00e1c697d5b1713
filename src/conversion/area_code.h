#pragma once

#include "conversion/digit_words.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace tallyvane {

// Only the ASCII digits 0-9 count; digits of other scripts do not. The test is
// the same for a UTF-16 unit and a UTF-8 byte, since neither encoding uses the
// values '0'..'9' inside a longer sequence.
constexpr bool isAsciiDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// What an area-code entry asks for, read character by character so that a
// line of any length costs constant memory. Both the window's run and the
// batch converter use it, so they cannot disagree.
//
// The code is the entry's first three ASCII digits, after one leading "1" is
// dropped, except from exactly ten digits: a North American number has ten,
// and no area code begins with 1, so there the 1 is part of a wrong code, not
// the country's. Digits after an extension marker ("x", "ext", "#", ";ext="
// in any case, once a digit has been read) are not the number's and do not
// count. Two kinds of entry ask for no code at all, since their digits would
// name a state they have nothing to do with: a number of another country (a
// "+" stands just before the number's first digit, which is not 1; between
// them only what may separate a country code: spaces of any kind, the
// invisible direction and zero-width marks, dots, dashes, brackets and more
// "+"; before the "+", anything: a label, a quote, a bracket), and a local
// number, exactly seven digits once the leading 1 is dropped.
class AreaCode {
public:
    enum class Kind { Code, OtherCountry, LocalNumber };
    static constexpr int kSlots = 1 + 10 + 100 + 1000; // codes of 0 to 3 digits

    void add(char32_t c) {
        if ((lead_ == Lead::Start || lead_ == Lead::AfterPlus) && !leading(c))
            return;
        if (lead_ == Lead::Foreign) {
            if (isAsciiDigit(c) && countryLength_ < 3) {
                country_ = country_ * 10 + static_cast<int>(c - U'0');
                ++countryLength_;
            }
            return;
        }
        if (ended_)
            return;
        if (isAsciiDigit(c)) {
            take(static_cast<unsigned>(c - U'0'));
            settle();
        } else if (seen_ != 0 && marksExtension(c)) {
            ended_ = true;
        }
    }
    template <class Char> void add(const Char* begin, const Char* end) {
        for (; begin != end && !complete(); ++begin) {
            const auto unit =
                static_cast<char32_t>(static_cast<std::make_unsigned_t<Char>>(*begin));
            // Before the number's first digit, UTF-8 is read by characters:
            // a no-break space there is a space.
            if (sizeof(Char) == 1 && (lead_ == Lead::Start || lead_ == Lead::AfterPlus) &&
                (unit >= 0x80 || utf8Left_ != 0)) {
                if (utf8Left_ != 0 && (unit & 0xC0) != 0x80) { // a sequence cut short
                    utf8Left_ = 0;
                    add(char32_t(0xFFFD));
                    --begin; // the byte is read again, as what it begins
                    continue;
                }
                if (const char32_t c = decodeUtf8(unit))
                    add(c);
                continue;
            }
            add(unit);
        }
    }
    // Nothing more can change the answer: the country's digits are in, the
    // extension has begun, or there are more digits than a number has.
    bool complete() const {
        return lead_ == Lead::Foreign ? countryLength_ == 3 : ended_ || seen_ == kPastTen;
    }

    Kind kind() const {
        if (lead_ == Lead::Foreign)
            return Kind::OtherCountry;
        return national_ == kLocalNumberDigits ? Kind::LocalNumber : Kind::Code;
    }
    int length() const { return length_; }
    int value() const { return value_; }
    // A distinct number for every code of 0 to 3 digits ("" , "0".."9", "00".., "000"..).
    int slot() const { return slotOf(length_, value_); }
    QString text() const;
    // The first digits after the "+" of another country's number (up to three)
    // and how many there were.
    int countryDigits() const { return country_; }
    int countryLength() const { return countryLength_; }

    static constexpr int slotOf(int length, int value) { return kFirstSlot[length] + value; }

    // The code with exactly these digits (at most three), no "1" dropped.
    static AreaCode exact(const QString& digits) {
        AreaCode code;
        code.keepOne_ = true;
        code.lead_ = Lead::Settled;
        code.add(digits.utf16(), digits.utf16() + digits.size());
        return code;
    }
    // A number's digits as its code is read from them: the ASCII digits up to
    // an extension marker, at most eleven, and whether the first (a 1, but
    // not of exactly ten digits) is dropped. Others that read further into a
    // number (its exchange) read it by these same rules.
    struct NumberDigits {
        std::array<std::uint8_t, 11> digits{};
        std::uint8_t count = 0;
        std::uint8_t drop = 0;
    };
    template <class Unit> static NumberDigits numberDigits(const Unit* p, const Unit* end) {
        NumberDigits number;
        for (; p != end && number.count < number.digits.size(); ++p) {
            const auto c = static_cast<char32_t>(static_cast<std::make_unsigned_t<Unit>>(*p));
            if (isAsciiDigit(c))
                number.digits[number.count++] = static_cast<std::uint8_t>(c - U'0');
            else if (number.count != 0 && marksExtension(c))
                break;
        }
        number.drop = dropsLeadingOne(number.digits[0], number.count) ? 1 : 0;
        return number;
    }
    static constexpr bool dropsLeadingOne(unsigned firstDigit, unsigned count) {
        return count != 0 && firstDigit == 1 && count != kNumberDigits;
    }

    // The same as adding every unit of a whole entry, in a few plain loops:
    // the window and the batch converter read tens of millions of them.
    static AreaCode of(QStringView entry);
    static AreaCode of(const QString& entry) { return of(QStringView(entry)); }
    [[gnu::always_inline]] static AreaCode ofUtf8(std::string_view entry) {
        AreaCode code;
        return code.readShort(entry) ? code : ofUtf8Long(entry);
    }
    // The same for an entry from a buffer that has kReadAhead bytes from the
    // entry's start that may be read, whatever its size: an entry of up to
    // that many bytes, "603" and "+1 603 237 4934" among them, is then read
    // in two eight-byte looks without a branch on its form.
    static constexpr std::size_t kReadAhead = 16;
    static AreaCode ofPaddedUtf8(std::string_view entry) {
        AreaCode code;
        return code.readPadded(entry) ? code : ofUtf8(entry);
    }
    // The parts of that quick reading, for a reader that finds an entry's
    // digits and letters its own way. Whether an entry's first two bytes
    // (0 past its end) let the rest be read as digits and punctuation: a
    // "+" that opens it is a plain character only when a 1 follows.
    static constexpr bool opensPlainly(char first, char second) {
        return first != ' ' && first != '\t' && (first != '+' || second == '1');
    }
    // The slot of the code that such an entry with no letter and no "#"
    // asks for, from where its digits are (bit i: entry[i] is one) and how
    // many there are; kSlots for a local number.
    [[gnu::always_inline]] static int quickSlot(const char* entry, unsigned mask, unsigned digits) {
        if (mask == 0)
            return slotOf(0, 0);
        const DigitsRead read = readDigitsAt(entry, mask, digits);
        return read.national == kLocalNumberDigits ? kSlots
                                                   : slotOf(int(read.length), int(read.value));
    }

private:
    // Where the reading stands at the entry's start: before its first
    // character that is not a space, after a "+", or past both.
    enum class Lead : std::uint8_t { Start, AfterPlus, Foreign, Settled };
    static constexpr int kFirstSlot[4] = {0, 1, 11, 111};
    static constexpr std::uint8_t kLocalNumberDigits = 7;
    static constexpr std::uint8_t kNumberDigits = 10;
    static constexpr std::uint8_t kPastTen = 11; // digits are counted no further

    // Reads the start of a whole entry, up to its first digit that is not
    // the country's; false for another country's number, which is then read.
    template <class Unit> bool readLead(const Unit*& p, const Unit* end);
    template <class Unit> static AreaCode readWhole(const Unit* p, const Unit* end);
    // The whole answer for a short entry of the common form; false when the
    // entry is of another length, opens with a space or a "+", or may hold
    // an extension. Here, so that the batch program's loop has it inline.
    bool readShort(std::string_view entry);
    bool readPadded(std::string_view entry);
    // The answer from where the entry's digits are (bit i: entry[i] is one).
    void readDigits(const char* entry, unsigned mask);
    // The code's digits among `digits` digits at the mask's places, past a dropped 1.
    struct DigitsRead {
        unsigned national; // digits of the number past a dropped 1
        unsigned length;   // of the code, up to 3
        unsigned value;
    };
    [[gnu::always_inline]] static DigitsRead readDigitsAt(const char* entry, unsigned mask,
                                                          unsigned digits);
    static AreaCode ofUtf8Long(std::string_view entry);

    static constexpr bool marksExtension(char32_t c) { return c == U'x' || c == U'X' || c == U'#'; }

public:
    // What may stand between a "+" and the country's first digit: what looks
    // like nothing or like a space (numbers copied from web pages and contact
    // exports carry no-break spaces and direction marks), punctuation of a
    // number, and another "+".
    static constexpr bool separatesCountry(char32_t c) {
        if (c < 0x80) // one look at a table of the ASCII ones
            return c < 0x40 ? (0x0000'6B01'0000'0200ull >> c) & 1 : c == U'[' || c == U']';
        return c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200F) ||
               (c >= 0x2028 && c <= 0x202F) || c == 0x205F || (c >= 0x2060 && c <= 0x2064) ||
               (c >= 0x2066 && c <= 0x2069) || c == 0x3000 || c == 0xFEFF;
    }

private:
    // Reads a character of the entry's start (before its first digit); false
    // when it is used up there.
    bool leading(char32_t c) {
        if (isAsciiDigit(c)) {
            lead_ = lead_ == Lead::AfterPlus && c != U'1' ? Lead::Foreign : Lead::Settled;
            return true;
        }
        if (c == U'+')
            lead_ = Lead::AfterPlus;
        else if (lead_ == Lead::AfterPlus && !separatesCountry(c))
            lead_ = Lead::Start; // a "+" that stands before something else marks nothing
        return false;
    }
    // A byte of UTF-8 before the first digit: the character it completes,
    // else 0 (U+FFFD for a malformed sequence).
    char32_t decodeUtf8(char32_t byte) {
        if (utf8Left_ != 0) {
            utf8_ = (utf8_ << 6) | (byte & 0x3F);
            return --utf8Left_ == 0 ? wellFormed(utf8_, utf8Length_) : 0;
        }
        utf8Length_ = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        utf8Left_ = utf8Length_;
        utf8_ = byte & (0x3Fu >> utf8Length_);
        return utf8Left_ == 0 ? char32_t(0xFFFD) : 0;
    }

public:
    // A character read from that many continuation bytes, or U+FFFD where
    // fewer would have held it (an overlong form is no character).
    static constexpr char32_t wellFormed(char32_t c, int continuations) {
        constexpr char32_t kLeast[4] = {0, 0x80, 0x800, 0x10000};
        return c < kLeast[continuations] || c > 0x10FFFF ? char32_t(0xFFFD) : c;
    }

private:
    void take(unsigned digit) {
        if (seen_ < first_.size())
            first_[seen_] = static_cast<std::uint8_t>(digit);
        if (seen_ < kPastTen)
            ++seen_;
    }
    // The answer from the digits taken so far.
    void settle() {
        const unsigned drop = !keepOne_ && dropsLeadingOne(first_[0], seen_) ? 1 : 0;
        national_ = static_cast<std::uint8_t>(seen_ - drop);
        length_ = std::min<std::uint8_t>(national_, 3);
        value_ = 0;
        for (unsigned i = drop; i < drop + length_; ++i)
            value_ = value_ * 10 + first_[i];
    }

    int value_ = 0;
    int country_ = 0;
    std::uint8_t length_ = 0;
    std::uint8_t national_ = 0; // digits of the number past a dropped 1, up to 11
    std::uint8_t seen_ = 0;     // digits read, up to 11
    std::uint8_t countryLength_ = 0;
    std::array<std::uint8_t, 4> first_{}; // the first digits read, for settle()
    Lead lead_ = Lead::Start;
    std::uint8_t utf8Left_ = 0; // continuation bytes still to come in the lead
    std::uint8_t utf8Length_ = 0;
    char32_t utf8_ = 0;
    bool keepOne_ = false;
    bool ended_ = false; // an extension marker was read
};

// An entry of 8 to 16 bytes (most phone numbers) that opens with neither a
// space nor a "+" and has no letter, "#", "+" or ":" (so no extension, no
// country behind a label, no second number): its digits
// are found with two eight-byte looks, one from each end, and the code read
// from where they are.
[[gnu::always_inline]] inline bool AreaCode::readShort(std::string_view entry) {
    const std::size_t size = entry.size();
    if (size < 8 || size > 16 || entry[0] == ' ' || entry[0] == '\t' || entry[0] == '+')
        return false;
    std::uint64_t head, end;
    std::memcpy(&head, entry.data(), sizeof head);
    std::memcpy(&end, entry.data() + size - 8, sizeof end);
    if (digit_words::needsCare(head, end))
        return false;
    readDigits(entry.data(),
               digit_words::digitMask(head) | (digit_words::digitMask(end) << (size - 8)));
    return true;
}

// An entry of 1 to 16 bytes with 16 readable: the bytes past its end are
// cleared, which makes them neither digits nor letters. A "+" that opens it
// is a plain character when a 1 follows, as in "+1 603 237 4934"; another
// country's number, a space at the start or a letter go the careful way.
inline bool AreaCode::readPadded(std::string_view entry) {
    const std::size_t size = entry.size();
    if (size - 1 >= kReadAhead) // none, or too long
        return false;
    const auto keep = [](std::size_t bytes) {
        return bytes >= 8 ? ~std::uint64_t(0) : (std::uint64_t(1) << (8 * bytes)) - 1;
    };
    std::uint64_t words[2];
    std::memcpy(words, entry.data(), sizeof words);
    words[0] &= keep(size);
    words[1] &= keep(size - std::min<std::size_t>(size, 8));
    if (!opensPlainly(static_cast<char>(words[0]), static_cast<char>(words[0] >> 8)) ||
        digit_words::needsCare(words[0], words[1]))
        return false;
    readDigits(entry.data(),
               digit_words::digitMask(words[0]) | (digit_words::digitMask(words[1]) << 8));
    return true;
}

inline void AreaCode::readDigits(const char* entry, unsigned mask) {
    lead_ = Lead::Settled;
    if (mask == 0)
        return;
    const unsigned digits = digit_words::bitsSet16(mask);
    const DigitsRead read = readDigitsAt(entry, mask, digits);
    value_ = int(read.value);
    length_ = static_cast<std::uint8_t>(read.length);
    seen_ = static_cast<std::uint8_t>(std::min<unsigned>(digits, kPastTen));
    national_ = static_cast<std::uint8_t>(std::min<unsigned>(read.national, kPastTen));
}

inline AreaCode::DigitsRead AreaCode::readDigitsAt(const char* entry, unsigned mask,
                                                   unsigned digits) {
    // Only the first leading 1 goes, and not from ten digits; without a
    // branch, since whether a number has one is anybody's guess from line to line.
    const unsigned drop = static_cast<unsigned>(entry[std::size_t(__builtin_ctz(mask))] == '1') &
                          static_cast<unsigned>(digits != kNumberDigits);
    mask ^= mask & (0u - mask) & (0u - drop);
    DigitsRead read{digits - drop, 0, 0};
    if (read.national >= 3) {
        const unsigned first = unsigned(__builtin_ctz(mask));
        mask &= mask - 1;
        const unsigned second = unsigned(__builtin_ctz(mask));
        mask &= mask - 1;
        const unsigned third = unsigned(__builtin_ctz(mask));
        read.value = unsigned(entry[first] - '0') * 100 + unsigned(entry[second] - '0') * 10 +
                     unsigned(entry[third] - '0');
        read.length = 3;
    } else {
        for (; mask != 0; mask &= mask - 1) {
            read.value = read.value * 10 + unsigned(entry[std::size_t(__builtin_ctz(mask))] - '0');
            ++read.length;
        }
    }
    return read;
}

} // namespace tallyvane
