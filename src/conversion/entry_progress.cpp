#include "conversion/entry_progress.h"

#include "platform/list_view.h"
#include "platform/progress_bar.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tallyvane {

namespace {

// Where the text after the last "/" starts: a scan from the end, eight
// characters at a time, since an entry may be hundreds of millions long.
qsizetype nameStart(QStringView text) {
    const char16_t* const begin = text.utf16();
    const char16_t* p = begin + text.size();
#if defined(__SSE2__)
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
    return p - begin;
}

} // namespace

QString progressTextFor(const QString& entryText) {
    const QStringView name = QStringView(entryText).mid(nameStart(entryText));
    QString text = QStringLiteral("Processing: ");
    if (name.size() <= kLongestProgressEntry)
        return text.append(name);
    return text.append(name.left(kLongestProgressEntry)).append(QChar(0x2026));
}

void showEntryInProgress(Form1Services& s, const QString& entryText, int i) {
    s.results.setNextRowOrigin(s.entries, i);
    s.progress.setText(progressTextFor(entryText));
}

} // namespace tallyvane
