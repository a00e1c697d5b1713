#pragma once

#include "conversion/area_code.h"

#include <cstddef>
#include <cstdint>

namespace tallyvane::batch {

// An entry where it lies in a reader's padded block.
struct EntrySpan {
    const char* start;
    std::size_t size;
};

// What quickSlots says of an entry beside its code's AreaCode slot.
inline constexpr std::uint16_t kLocalNumberSlot = AreaCode::kSlots;
inline constexpr std::uint16_t kCarefulEntry = 0xFFFF; // read it with AreaCode::ofUtf8

// The area-code slot of each entry of the common form (up to
// AreaCode::kReadAhead bytes, no letter, no "#", not opening with a space or
// with a "+" that another country's digit follows), the answer
// AreaCode::ofPaddedUtf8 gives; kLocalNumberSlot for a local number; else
// kCarefulEntry. Every entry must have AreaCode::kReadAhead bytes readable
// from its start. One 16-byte vector an entry tells its digits and letters,
// in the widest instructions the processor has, chosen when the program runs.
void quickSlots(const EntrySpan* entries, std::size_t count, std::uint16_t* slots);

} // namespace tallyvane::batch
