#include "entries/entry_splitter.h"

#include "platform/list_view.h"

namespace tallyvane {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
// A carry grown by one very long line is given back rather than kept for the
// rest of the file.
constexpr std::size_t kCarryKeepBytes = 1 << 20;

bool isAscii(QByteArrayView bytes) {
    unsigned char high = 0;
    for (const char c : bytes)
        high |= static_cast<unsigned char>(c);
    return (high & 0x80) == 0;
}

} // namespace

EntryTextDecoder::EntryTextDecoder()
    : utf8_(QStringDecoder::Utf8,
            QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom) {}

QString EntryTextDecoder::decode(QByteArrayView bytes) {
    // Most entries are plain ASCII, where Latin-1 and UTF-8 agree and Latin-1 is
    // the cheaper conversion.
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    utf8_.resetState();
    QString text = utf8_.decode(bytes);
    if (!utf8_.hasError())
        return text;
    return QString::fromLatin1(bytes);
}

void EntrySplitter::feed(const char* data, std::size_t size) {
    const char* p = data;
    const char* const end = data + size;
    if (pendingCr_ && p < end) {
        pendingCr_ = false;
        if (*p == kLf)
            ++p;
    }
    while (p < end) {
        const char* q = p;
        while (q < end && *q != kCr && *q != kLf)
            ++q;
        if (q == end) {
            if (q > p) {
                carry_.append(p, q);
                lineOpen_ = true;
            }
            return;
        }
        if (*q == kLf) {
            appendPiece(p, q, false);
            lineOpen_ = true;
            p = q + 1;
            continue;
        }
        appendPiece(p, q, true);
        lineOpen_ = false;
        p = q + 1;
        if (p == end)
            pendingCr_ = true;
        else if (*p == kLf)
            ++p;
    }
}

void EntrySplitter::finish() {
    if (lineOpen_)
        appendPiece(nullptr, nullptr, true);
    lineOpen_ = false;
    pendingCr_ = false;
}

void EntrySplitter::appendPiece(const char* begin, const char* end, bool lastOfLine) {
    QString text;
    if (carry_.empty()) {
        text = decoder_.decode(QByteArrayView(begin, end - begin));
    } else {
        carry_.append(begin, end);
        text = decoder_.decode(QByteArrayView(carry_.data(), qsizetype(carry_.size())));
        if (carry_.capacity() > kCarryKeepBytes)
            std::string().swap(carry_);
        else
            carry_.clear();
    }
    if (lastOfLine)
        text = std::move(text).toUpper();
    list_.append(text);
}

} // namespace tallyvane
