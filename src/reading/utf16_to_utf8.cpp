#include "reading/utf16_to_utf8.h"

namespace tallyvane {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool isHighSurrogate(char16_t u) {
    return u >= 0xD800 && u <= 0xDBFF;
}
bool isLowSurrogate(char16_t u) {
    return u >= 0xDC00 && u <= 0xDFFF;
}

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

} // namespace

void Utf16ToUtf8::convert(const char* data, std::size_t size, std::string& out) {
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(data[i]);
        if (heldByte_ < 0) {
            heldByte_ = byte;
            continue;
        }
        const auto first = static_cast<char16_t>(heldByte_);
        heldByte_ = -1;
        unit(bigEndian_ ? char16_t(first << 8 | byte) : char16_t(byte << 8 | first), out);
    }
}

void Utf16ToUtf8::unit(char16_t u, std::string& out) {
    if (heldHigh_ != 0) {
        const char16_t high = heldHigh_;
        heldHigh_ = 0;
        if (isLowSurrogate(u)) {
            appendUtf8(0x10000 + ((char32_t(high) - 0xD800) << 10) + (char32_t(u) - 0xDC00), out);
            return;
        }
        appendUtf8(kReplacement, out);
    }
    if (isHighSurrogate(u))
        heldHigh_ = u;
    else
        appendUtf8(isLowSurrogate(u) ? kReplacement : char32_t(u), out);
}

void Utf16ToUtf8::finish(std::string& out) {
    if (heldHigh_ != 0)
        appendUtf8(kReplacement, out);
    if (heldByte_ >= 0)
        appendUtf8(kReplacement, out);
    heldHigh_ = 0;
    heldByte_ = -1;
}

} // namespace tallyvane
