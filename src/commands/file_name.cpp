#include "commands/file_name.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallyvane {

QStringView fileNameOf(QStringView path) {
    const char16_t* const begin = path.utf16();
    const char16_t* p = begin + path.size();
#if defined(__SSE2__)
    // Eight characters at a time while none of them is a "/".
    const __m128i slash = _mm_set1_epi16('/');
    while (p - begin >= 8) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 8));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(chunk, slash)) != 0)
            break;
        p -= 8;
    }
#endif
    while (p != begin && p[-1] != u'/')
        --p;
    return path.sliced(p - begin);
}

} // namespace tallyvane
