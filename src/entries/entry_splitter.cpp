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

QString EntryTextDecoder::decode(QByteArrayView bytes, bool upperCase) {
    // Most entries are plain ASCII, where Latin-1 and UTF-8 agree and upper case
    // moves only a to z: one pass builds the final text.
    if (isAscii(bytes)) {
        if (!upperCase)
            return QString::fromLatin1(bytes);
        QString text(bytes.size(), Qt::Uninitialized);
        QChar* out = text.data();
        for (const char c : bytes)
            *out++ = QLatin1Char(c >= 'a' && c <= 'z' ? char(c - ('a' - 'A')) : c);
        return text;
    }
    utf8_.resetState();
    QString text = utf8_.decode(bytes);
    if (utf8_.hasError())
        text = QString::fromLatin1(bytes);
    return upperCase ? std::move(text).toUpper() : text;
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
        text = decoder_.decode(QByteArrayView(begin, end - begin), lastOfLine);
    } else {
        carry_.append(begin, end);
        text = decoder_.decode(QByteArrayView(carry_.data(), qsizetype(carry_.size())), lastOfLine);
        if (carry_.capacity() > kCarryKeepBytes)
            std::string().swap(carry_);
        else
            carry_.clear();
    }
    list_.append(text);
}

} // namespace tallyvane
