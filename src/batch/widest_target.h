#pragma once

// The widest compiled version of a function that this processor runs, for a
// file compiled once a target through Highway's foreach_target.h; use it in
// the file's HWY_ONCE part, after hwy/highway.h.
//
// Highway's own chooser lives in its shared library, whose start-up timing
// costs every run about 5 ms, more than scanning a 100 MB file; so the
// choice is made here, from the processor's feature bits, by the same
// instruction groups Highway compiles each x86 target for, and the library
// is never loaded. Other processors get the version compiled for their baseline.

#include <hwy/highway.h>

#if HWY_ARCH_X86
#include <cpuid.h>
#endif

namespace tallyvane::batch {

struct X86Groups {
    bool ssse3 = false;
    bool sse4 = false;
    bool avx2 = false;
};

#if HWY_ARCH_X86
// Clang does not know "f16c" as a feature name of __builtin_cpu_supports.
inline bool hasF16c() {
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & bit_F16C) != 0;
}
#endif

inline X86Groups x86Groups() {
    X86Groups groups;
#if HWY_ARCH_X86
    __builtin_cpu_init();
    groups.ssse3 = __builtin_cpu_supports("ssse3");
    groups.sse4 = groups.ssse3 && __builtin_cpu_supports("sse4.1") &&
                  __builtin_cpu_supports("sse4.2") && __builtin_cpu_supports("pclmul") &&
                  __builtin_cpu_supports("aes");
    groups.avx2 = groups.sse4 && __builtin_cpu_supports("avx") && __builtin_cpu_supports("avx2") &&
                  __builtin_cpu_supports("bmi") && __builtin_cpu_supports("bmi2") &&
                  __builtin_cpu_supports("fma") && hasF16c();
#endif
    return groups;
}

} // namespace tallyvane::batch

#if HWY_ARCH_X86 && (HWY_TARGETS & HWY_AVX2)
#define TALLYVANE_IF_AVX2(FUNC, GROUPS)                                                            \
    if (GROUPS.avx2)                                                                               \
        return &N_AVX2::FUNC;
#else
#define TALLYVANE_IF_AVX2(FUNC, GROUPS)
#endif
#if HWY_ARCH_X86 && (HWY_TARGETS & HWY_SSE4)
#define TALLYVANE_IF_SSE4(FUNC, GROUPS)                                                            \
    if (GROUPS.sse4)                                                                               \
        return &N_SSE4::FUNC;
#else
#define TALLYVANE_IF_SSE4(FUNC, GROUPS)
#endif
#if HWY_ARCH_X86 && (HWY_TARGETS & HWY_SSSE3)
#define TALLYVANE_IF_SSSE3(FUNC, GROUPS)                                                           \
    if (GROUPS.ssse3)                                                                              \
        return &N_SSSE3::FUNC;
#else
#define TALLYVANE_IF_SSSE3(FUNC, GROUPS)
#endif

#define TALLYVANE_WIDEST_TARGET(FUNC)                                                              \
    ([] {                                                                                          \
        [[maybe_unused]] const ::tallyvane::batch::X86Groups groups =                              \
            ::tallyvane::batch::x86Groups();                                                       \
        TALLYVANE_IF_AVX2(FUNC, groups)                                                            \
        TALLYVANE_IF_SSE4(FUNC, groups)                                                            \
        TALLYVANE_IF_SSSE3(FUNC, groups)                                                           \
        return &HWY_STATIC_DISPATCH(FUNC);                                                         \
    }())
