// Compiled once for each instruction set Highway targets; the widest one the
// processor runs is picked at the first call.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "batch/line_ends.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/highway.h>

#include <bit>
#include <cstring>

#include "batch/line_ends.h"

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

namespace {

using Marker = void (*)(const char*, std::size_t, std::uint64_t*);

// The widest of the compiled versions that this processor runs, by the same
// instruction groups Highway compiles each for. Highway's own chooser lives
// in its shared library, whose start-up timing costs every run about 5 ms,
// more than the scan of a 100 MB file; so the choice is made here, from the
// processor's feature bits, and the library is never loaded.
Marker widestMarker() {
#if HWY_ARCH_X86
    __builtin_cpu_init();
    const bool ssse3 = __builtin_cpu_supports("ssse3");
    const bool sse4 = ssse3 && __builtin_cpu_supports("sse4.1") &&
                      __builtin_cpu_supports("sse4.2") && __builtin_cpu_supports("pclmul") &&
                      __builtin_cpu_supports("aes");
    const bool avx2 = sse4 && __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
                      __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                      __builtin_cpu_supports("fma") && __builtin_cpu_supports("f16c");
#if HWY_TARGETS & HWY_AVX2
    if (avx2)
        return N_AVX2::MarkLineEnds;
#endif
#if HWY_TARGETS & HWY_SSE4
    if (sse4)
        return N_SSE4::MarkLineEnds;
#endif
#if HWY_TARGETS & HWY_SSSE3
    if (ssse3)
        return N_SSSE3::MarkLineEnds;
#endif
#endif
    return HWY_STATIC_DISPATCH(MarkLineEnds);
}

} // namespace

void markLineEnds(const char* data, std::size_t size, std::uint64_t* bits) {
    static const Marker marker = widestMarker();
    marker(data, size, bits);
}

} // namespace tallyvane::batch
#endif
