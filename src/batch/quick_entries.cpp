// Compiled once for each instruction set Highway targets; the widest one the
// processor runs is picked at the first call (see widest_target.h).
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/quick_entries.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include <cstring>

#include "batch/quick_entries.h"
#include "batch/widest_target.h"

HWY_BEFORE_NAMESPACE();
namespace tallyvane::batch::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The answer of the quick reading, or kCarefulEntry.
std::uint16_t slotOf(const AreaCode& code) {
    return code.kind() == AreaCode::Kind::Code ? std::uint16_t(code.slot()) : kLocalNumberSlot;
}

// SSE4 and later count bits in one instruction; before, the library call
// would cost more than counting sixteen bits by hand.
inline unsigned bitsSet(unsigned mask) {
#if HWY_ARCH_X86 && HWY_TARGET <= HWY_SSE4
    return unsigned(__builtin_popcount(mask));
#else
    return digit_words::bitsSet16(mask);
#endif
}

#if HWY_TARGET == HWY_SCALAR
// No 16-byte vectors: the scalar reading, entry by entry.
void QuickSlots(const EntrySpan* entries, std::size_t count, std::uint16_t* slots) {
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view entry(entries[i].start, entries[i].size);
        // ":" may join several numbers: such an entry goes the careful way.
        slots[i] = entry.find(':') != std::string_view::npos
                       ? kCarefulEntry
                       : slotOf(AreaCode::ofPaddedUtf8(entry));
    }
}
#else
void QuickSlots(const EntrySpan* entries, std::size_t count, std::uint16_t* slots) {
    const hn::Full128<std::uint8_t> d;
    const auto zero = hn::Set(d, std::uint8_t('0'));
    const auto ten = hn::Set(d, std::uint8_t(10));
    const auto letterBit = hn::Set(d, std::uint8_t(0x40));
    const auto hash = hn::Set(d, std::uint8_t('#'));
    const auto plus = hn::Set(d, std::uint8_t('+'));
    const auto colon = hn::Set(d, std::uint8_t(':'));
    const auto first = hn::FirstN(d, 1);
    const auto bitsOf = [&](auto mask) {
        std::uint8_t bytes[8] = {};
        hn::StoreMaskBits(d, mask, bytes);
        std::uint16_t bits;
        std::memcpy(&bits, bytes, sizeof bits);
        return unsigned(bits);
    };
    for (std::size_t i = 0; i < count; ++i) {
        const char* const p = entries[i].start;
        const std::size_t size = entries[i].size;
        slots[i] = kCarefulEntry;
        if (size - 1 >= AreaCode::kReadAhead)
            continue;
        const auto v = hn::LoadU(d, reinterpret_cast<const std::uint8_t*>(p));
        const unsigned keep = (1u << size) - 1;
        const unsigned digits = bitsOf(hn::Gt(ten, hn::Sub(v, zero))) & keep;
        // Letters and "#" may start an extension, ":" may join several
        // numbers, and a "+" past the first byte may mark a country behind a
        // label: one mask of them all.
        const auto odd = hn::Or(hn::Or(hn::TestBit(v, letterBit), hn::Eq(v, hash)),
                                hn::Or(hn::Eq(v, colon), hn::AndNot(first, hn::Eq(v, plus))));
        const char second = size > 1 ? p[1] : '\0';
        if ((bitsOf(odd) & keep) != 0 || !AreaCode::opensPlainly(p[0], second))
            continue;
        slots[i] = std::uint16_t(AreaCode::quickSlot(p, digits, bitsSet(digits)));
    }
}
#endif

} // namespace tallyvane::batch::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tallyvane::batch {

void quickSlots(const EntrySpan* entries, std::size_t count, std::uint16_t* slots) {
    static const auto quick = TALLYVANE_WIDEST_TARGET(QuickSlots);
    quick(entries, count, slots);
}

} // namespace tallyvane::batch
#endif
