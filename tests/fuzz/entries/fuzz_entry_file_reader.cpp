// The entry-list file reader and its splitter. The same bytes go to the
// splitter whole, one byte at a time and in random chunk sizes, and through a
// real file to the reader: every way must give the same entries. Those must
// also be the entries of a model of the file format written from its rules,
// byte-order marks included.
#include "entries/entry_file_reader.h"
#include "entries/entry_splitter.h"
#include "fuzz_support.h"
#include "lists/list_model.h"
#include "support/fakes.h"

#include <QFile>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using namespace tallyvane;

namespace {

// Chunk sizes: mostly tiny (so chunk ends fall between CR and LF and inside
// UTF-8 sequences), some empty, some long.
std::size_t chunkSize(std::minstd_rand& random, std::size_t left) {
    switch (random() % 8) {
    case 0:
        return 0;
    case 5:
    case 6:
        return 1 + random() % 32;
    case 7:
        return 1 + random() % left;
    default:
        return 1 + random() % 4;
    }
}

QStringList splitInChunks(std::string_view bytes, std::minstd_rand* random) {
    ListModel list;
    EntrySplitter splitter(list);
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t n =
            std::min(random ? chunkSize(*random, bytes.size() - at) : 1, bytes.size() - at);
        splitter.feed(bytes.data() + at, n);
        at += n;
    }
    splitter.finish();
    return testing::listTexts(list);
}

QStringList splitWhole(std::string_view bytes) {
    ListModel list;
    EntrySplitter splitter(list);
    splitter.feed(bytes.data(), bytes.size());
    splitter.finish();
    return testing::listTexts(list);
}

QStringList readFromFile(std::string_view bytes) {
    const QString path = fuzz::scratchFolder() + QStringLiteral("/entries.txt");
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() ||
        std::fclose(file) != 0)
        std::abort();
    ListModel list;
    appendEntriesFromFile(list, path);
    return testing::listTexts(list);
}

// --- The model: the documented rules, without the reader's code. -----------

// Appends the code point as UTF-16.
void appendCodePoint(QString& out, char32_t c) {
    if (c < 0x10000) {
        out += QChar(char16_t(c));
    } else {
        c -= 0x10000;
        out += QChar(char16_t(0xD800 + (c >> 10)));
        out += QChar(char16_t(0xDC00 + (c & 0x3FF)));
    }
}

// Well-formed UTF-8 by the Unicode standard's table of byte sequences: no
// overlong forms, no surrogates, nothing above U+10FFFF. False if malformed.
bool decodeUtf8(std::string_view bytes, QString& out) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char b = bytes[i];
        if (b < 0x80) {
            out += QChar(char16_t(b));
            ++i;
            continue;
        }
        int length;
        char32_t c;
        unsigned char low = 0x80, high = 0xBF; // the range of the second byte
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2, c = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3, c = b & 0x0F;
            if (b == 0xE0)
                low = 0xA0;
            if (b == 0xED)
                high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4, c = b & 0x07;
            if (b == 0xF0)
                low = 0x90;
            if (b == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (i + length > bytes.size())
            return false;
        for (int k = 1; k < length; ++k) {
            const unsigned char t = bytes[i + k];
            if (t < (k == 1 ? low : 0x80) || t > (k == 1 ? high : 0xBF))
                return false;
            c = (c << 6) | (t & 0x3F);
        }
        appendCodePoint(out, c);
        i += length;
    }
    return true;
}

// A piece that is valid UTF-8 is read as UTF-8, any other as Latin-1.
QString modelText(std::string_view bytes, bool upperCase) {
    QString text;
    if (!decodeUtf8(bytes, text)) {
        text.clear();
        for (const char b : bytes)
            text += QChar(char16_t(static_cast<unsigned char>(b)));
    }
    return upperCase ? text.toUpper() : text;
}

// The text after a UTF-16 mark, in the given byte order. An unpaired
// surrogate, or an odd byte at the end, stands for U+FFFD.
std::u16string utf16Text(std::string_view bytes, bool bigEndian) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        units += bigEndian ? char16_t(a << 8 | b) : char16_t(b << 8 | a);
    }
    if (bytes.size() % 2)
        units += u'\uFFFD';
    std::u16string text;
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        const bool high = u >= 0xD800 && u <= 0xDBFF;
        const bool pairs =
            high && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] <= 0xDFFF;
        if (pairs) {
            text += u;
            text += units[++i];
        } else {
            text += (u >= 0xD800 && u <= 0xDFFF) ? u'\uFFFD' : u;
        }
    }
    return text;
}

QString modelText(std::u16string_view text, bool upperCase) {
    // Not QString::fromUtf16, which would take a U+FEFF opening the piece for a mark.
    const QString piece(reinterpret_cast<const QChar*>(text.data()),
                        static_cast<qsizetype>(text.size()));
    return upperCase ? piece.toUpper() : piece;
}

// Lines end at CR LF or a lone CR; a lone LF inside a line separates entries;
// only the last piece of a line is upper-cased; a final line end gives no
// extra entry, and a final lone LF leaves one empty piece that does.
template <class Char> QStringList modelEntries(std::basic_string_view<Char> text) {
    std::vector<std::basic_string_view<Char>> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != Char('\r'))
            continue;
        lines.push_back(text.substr(start, i - start));
        if (i + 1 < text.size() && text[i + 1] == Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    QStringList entries;
    for (auto line : lines) {
        std::size_t lf;
        while ((lf = line.find(Char('\n'))) != line.npos) {
            entries << modelText(line.substr(0, lf), false);
            line.remove_prefix(lf + 1);
        }
        entries << modelText(line, true);
    }
    return entries;
}

// UTF-16 without a mark, told by the first 64 bytes: a zero byte among
// them; every pair's byte of the low half nonzero and, in the first pair and
// three pairs of four at least, its byte of the high half zero.
bool looksLikeUtf16(std::string_view bytes, bool bigEndian) {
    const std::string_view head = bytes.substr(0, 64);
    if (head.find('\0') == std::string_view::npos || head.size() < 4)
        return false;
    std::size_t pairs = 0, latin = 0;
    for (std::size_t i = 0; i + 1 < head.size(); i += 2, ++pairs) {
        const char low = bigEndian ? head[i + 1] : head[i];
        const char high = bigEndian ? head[i] : head[i + 1];
        if (low == '\0' || (i == 0 && high != '\0'))
            return false;
        latin += high == '\0' ? 1 : 0;
    }
    return 4 * latin >= 3 * pairs;
}

// A UTF-8 mark that opens the file is dropped; a UTF-16 mark of either byte
// order makes the rest UTF-16 text under the same line rules, and so does
// UTF-16 without a mark (little-endian first).
QStringList modelEntries(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return modelEntries<char>(bytes.substr(3));
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        const std::u16string text = utf16Text(bytes.substr(2), bytes[0] == '\xFE');
        return modelEntries<char16_t>(text);
    }
    for (const bool bigEndian : {false, true})
        if (looksLikeUtf16(bytes, bigEndian))
            return modelEntries<char16_t>(utf16Text(bytes, bigEndian));
    return modelEntries<char>(bytes);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::startApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const QStringList whole = splitWhole(bytes);
    fuzz::expectEqual("one byte at a time gives the entries of one chunk", whole,
                      splitInChunks(bytes, nullptr));
    std::minstd_rand random(static_cast<std::uint32_t>(std::hash<std::string_view>()(bytes)));
    for (int round = 0; round < 3; ++round)
        fuzz::expectEqual("random chunks give the entries of one chunk", whole,
                          splitInChunks(bytes, &random));
    fuzz::expectEqual("the entries follow the file format's rules", modelEntries(bytes), whole);
    fuzz::expectEqual("the file reader gives the splitter's entries", whole, readFromFile(bytes));
    return 0;
}
