#pragma once

#include <QString>

#include <cstdint>
#include <type_traits>

namespace tallyvane {

// Only the ASCII digits 0-9 count; digits of other scripts do not. The test is
// the same for a UTF-16 unit and a UTF-8 byte, since neither encoding uses the
// values '0'..'9' inside a longer sequence.
constexpr bool isAsciiDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}

// The query code of an area-code entry, built character by character so that
// a line of any length is normalised in constant memory: the entry's ASCII
// digits, without one leading "1", cut to the first three. Both the window's
// run and the batch converter use it, so they cannot disagree.
class AreaCode {
public:
    static constexpr int kSlots = 1 + 10 + 100 + 1000; // codes of 0 to 3 digits

    void add(char32_t c) {
        if (!isAsciiDigit(c) || length_ == 3)
            return;
        if (!sawDigit_) {
            sawDigit_ = true;
            if (c == U'1')
                return; // only the first leading 1 goes: "11-201" gives 120
        }
        value_ = value_ * 10 + static_cast<int>(c - U'0');
        ++length_;
    }
    template <class Char> void add(const Char* begin, const Char* end) {
        for (; begin != end && length_ < 3; ++begin)
            add(static_cast<char32_t>(static_cast<std::make_unsigned_t<Char>>(*begin)));
    }
    // After three digits nothing more can change the code.
    bool complete() const { return length_ == 3; }
    int length() const { return length_; }
    // A distinct number for every code of 0 to 3 digits ("" , "0".."9", "00".., "000"..).
    int slot() const { return kFirstSlot[length_] + value_; }
    QString text() const;

    // The code with exactly these digits (at most three), no "1" dropped.
    static AreaCode exact(const QString& digits) {
        AreaCode code;
        code.sawDigit_ = true;
        code.add(digits.utf16(), digits.utf16() + digits.size());
        return code;
    }
    static AreaCode of(const QString& entry) {
        AreaCode code;
        code.add(entry.utf16(), entry.utf16() + entry.size());
        return code;
    }

private:
    static constexpr int kFirstSlot[4] = {0, 1, 11, 111};
    int value_ = 0;
    std::uint8_t length_ = 0;
    bool sawDigit_ = false;
};

} // namespace tallyvane
