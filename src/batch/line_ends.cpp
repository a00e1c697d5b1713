// Compiled once for each instruction set Highway targets; the widest one the
// processor runs is picked at the first call (see widest_target.h).
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/line_ends.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include <bit>
#include <cstring>

#include "batch/line_ends.h"
#include "batch/widest_target.h"

HWY_BEFORE_NAMESPACE();
namespace tallyvane::batch::HWY_NAMESPACE {
namespace hn = hwy::HWY_NAMESPACE;

// The map's bytes are the mask bits of the vectors in order, which is bit
// order within a word only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

// Vectors of at least eight bytes fill whole bytes of the map at a time.
void MarkLineEnds(const char* data, std::size_t size, std::uint64_t* bits) {
    const hn::ScalableTag<std::uint8_t> d;
    const std::size_t lanes = hn::Lanes(d);
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    auto* mapBytes = reinterpret_cast<std::uint8_t*>(bits);
    std::size_t i = 0;
    if (lanes >= 8 && 64 % lanes == 0) {
        const auto lf = hn::Set(d, std::uint8_t('\n'));
        const auto cr = hn::Set(d, std::uint8_t('\r'));
        for (; i + lanes <= size; i += lanes) {
            const auto v = hn::LoadU(d, bytes + i);
            hn::StoreMaskBits(d, hn::Or(hn::Eq(v, lf), hn::Eq(v, cr)), mapBytes + i / 8);
        }
    }
    // The rest, less than a vector, a bit at a time into words of their own.
    std::size_t word = i / 64;
    if (i % 64 != 0) { // keep the bits the vectors set in this word
        std::uint64_t kept = 0;
        std::memcpy(&kept, mapBytes + word * 8, (i % 64) / 8);
        bits[word] = kept;
    }
    for (; i < size; ++i) {
        if (i % 64 == 0)
            bits[i / 64] = 0;
        if (bytes[i] == '\n' || bytes[i] == '\r')
            bits[i / 64] |= std::uint64_t(1) << (i % 64);
    }
}

} // namespace tallyvane::batch::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace tallyvane::batch {

void markLineEnds(const char* data, std::size_t size, std::uint64_t* bits) {
    static const auto marker = TALLYVANE_WIDEST_TARGET(MarkLineEnds);
    marker(data, size, bits);
}

} // namespace tallyvane::batch
#endif
