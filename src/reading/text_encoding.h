#pragma once

#include <cstddef>
#include <string_view>

namespace tallyvane {

// How a text file's bytes are to be read, from its first bytes: a mark
// (UTF-8, UTF-16 of either order, UTF-32 of either order), or UTF-16
// without one, told by a zero byte in every other place of a plausible
// text. Everything else is UTF-8 (or Latin-1 where it is not).
enum class TextEncoding { Undecided, EightBit, Utf16Le, Utf16Be, Utf32 };

struct EncodingFound {
    TextEncoding encoding = TextEncoding::Undecided;
    std::size_t markBytes = 0; // the mark to drop
};

// How many first bytes decide.
inline constexpr std::size_t kEncodingSample = 64;

// Undecided while more bytes could change the answer (fewer than
// kEncodingSample of them, and not at the end).
EncodingFound encodingOf(std::string_view head, bool atEnd);

} // namespace tallyvane
