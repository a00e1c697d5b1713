#include "reading/text_encoding.h"

#include "reading/byte_order_marks.h"

namespace tallyvane {

namespace {

constexpr std::string_view kUtf32LeMark{"\xFF\xFE\0\0", 4};
constexpr std::string_view kUtf32BeMark{"\0\0\xFE\xFF", 4};

// UTF-16 without a mark: the high byte of the first unit and of most others
// zero (text in Latin letters, digits and punctuation), the low byte of none,
// over two units at least.
bool unmarkedUtf16(std::string_view head, std::size_t zeroAt) {
    const std::size_t units = head.size() / 2;
    // The first unit too: so that text whose first two bytes hold no zero is
    // told at once, and the same however its bytes arrive.
    if (units == 0 || head[zeroAt] != '\0')
        return false;
    std::size_t latin = 0;
    for (std::size_t i = 0; i < units; ++i) {
        if (head[2 * i + 1 - zeroAt] == '\0')
            return false;
        latin += head[2 * i + zeroAt] == '\0' ? 1 : 0;
    }
    return units >= 2 && latin * 4 >= units * 3;
}

} // namespace

EncodingFound encodingOf(std::string_view head, bool atEnd) {
    head = head.substr(0, kEncodingSample);
    const auto startsWith = [&](std::string_view mark) { return head.starts_with(mark); };
    const auto couldStillBe = [&](std::string_view mark) {
        return !atEnd && head.size() < mark.size() && mark.starts_with(head);
    };
    if (startsWith(kUtf32LeMark) || startsWith(kUtf32BeMark))
        return {TextEncoding::Utf32, 4};
    if (couldStillBe(kUtf32LeMark) || couldStillBe(kUtf32BeMark) || couldStillBe(kUtf8Mark) ||
        couldStillBe(kUtf16LeMark) || couldStillBe(kUtf16BeMark))
        return {};
    if (startsWith(kUtf8Mark))
        return {TextEncoding::EightBit, kUtf8Mark.size()};
    if (startsWith(kUtf16LeMark))
        return {TextEncoding::Utf16Le, 2};
    if (startsWith(kUtf16BeMark))
        return {TextEncoding::Utf16Be, 2};
    // Text without a zero byte in its first two bytes (where UTF-16 of
    // Latin letters has one) is decided at once, so that a pipe's first
    // line is not held back waiting for more.
    if (head.find('\0') == std::string_view::npos && (head.size() >= 2 || atEnd))
        return {TextEncoding::EightBit, 0};
    if (!atEnd && head.size() < kEncodingSample)
        return {};
    if (unmarkedUtf16(head, 1))
        return {TextEncoding::Utf16Le, 0};
    if (unmarkedUtf16(head, 0))
        return {TextEncoding::Utf16Be, 0};
    return {TextEncoding::EightBit, 0};
}

} // namespace tallyvane
