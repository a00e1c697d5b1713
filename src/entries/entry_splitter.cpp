#include "entries/entry_splitter.h"

#include "reading/text_encoding.h"

#include "lists/list_view.h"
#include "reading/byte_order_marks.h"

#include <algorithm>
#include <string_view>

namespace tallyvane {

namespace {

constexpr char kCr = '\r';
constexpr char kLf = '\n';
// A carry grown by one very long line is given back rather than kept for the
// rest of the file.
constexpr std::size_t kCarryKeepBytes = 1 << 20;

constexpr std::size_t kLongestMark = kEncodingSample;

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
    if (encoding_ == Encoding::Undecided) {
        const std::size_t take = std::min(size, kLongestMark - head_.size());
        head_.append(data, take);
        data += take;
        size -= take;
        if (!decideEncoding(false))
            return;
        passHead();
    }
    route(data, size);
}

// Decides as soon as the bytes so far show how the text is encoded.
bool EntrySplitter::decideEncoding(bool atEnd) {
    const EncodingFound found = encodingOf(head_, atEnd);
    switch (found.encoding) {
    case TextEncoding::Undecided:
        return false;
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be:
        encoding_ = Encoding::Utf16;
        utf16_ = Utf16ToUtf8(found.encoding == TextEncoding::Utf16Be);
        break;
    case TextEncoding::Utf32:
        // A file of it is refused before it comes this far; other text that
        // opens so is read by its UTF-16 mark, as before UTF-32 was told.
        if (head_.starts_with(kUtf16LeMark)) {
            encoding_ = Encoding::Utf16;
            utf16_ = Utf16ToUtf8(false);
            markBytes_ = kUtf16LeMark.size();
        } else {
            encoding_ = Encoding::EightBit;
            markBytes_ = 0;
        }
        return true;
    default:
        encoding_ = Encoding::EightBit;
        break;
    }
    markBytes_ = found.markBytes;
    return true;
}

// The bytes held while deciding, less the mark.
void EntrySplitter::passHead() {
    std::string head;
    head.swap(head_);
    route(head.data() + markBytes_, head.size() - markBytes_);
}

void EntrySplitter::route(const char* data, std::size_t size) {
    if (encoding_ != Encoding::Utf16)
        return split(data, size);
    // UTF-8 keeps CR and LF as the single bytes they are in every 8-bit file,
    // so the same splitting and decoding serve both.
    transcoded_.clear();
    utf16_.convert(data, size, transcoded_);
    split(transcoded_.data(), transcoded_.size());
}

void EntrySplitter::split(const char* data, std::size_t size) {
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
    if (encoding_ == Encoding::Undecided) {
        decideEncoding(true);
        passHead();
    }
    if (encoding_ == Encoding::Utf16) {
        transcoded_.clear();
        utf16_.finish(transcoded_);
        split(transcoded_.data(), transcoded_.size());
        std::string().swap(transcoded_);
    }
    encoding_ = Encoding::Undecided;
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
