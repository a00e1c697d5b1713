#pragma once

#include <cstddef>
#include <cstdint>

namespace tallyvane::batch {

// Words of a line-end map for `size` bytes: bit i of word w is byte 64w + i.
constexpr std::size_t lineEndWords(std::size_t size) {
    return (size + 63) / 64;
}

// Sets, in `bits` (lineEndWords(size) words), the bit of every byte that is
// an LF or a CR, and clears every other bit. Vector instructions find them
// sixteen to sixty-four bytes at a time, the widest the processor has, chosen
// when the program runs: the reader then walks from one line end to the next
// by bit arithmetic instead of a search per line.
void markLineEnds(const char* data, std::size_t size, std::uint64_t* bits);

} // namespace tallyvane::batch
