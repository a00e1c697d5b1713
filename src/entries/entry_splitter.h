#pragma once

#include "reading/utf16_to_utf8.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <string>

namespace tallyvane {

class ListView;

// The text of one entry. Entry-list files come from anywhere, so a piece that is
// valid UTF-8 is read as UTF-8 and any other piece as Latin-1: every byte becomes
// a character and nothing is replaced. A byte-order mark here is a character
// like any other: only the one that opens a file is a mark (see EntrySplitter).
class EntryTextDecoder {
public:
    EntryTextDecoder();
    // With upperCase, the text as QString::toUpper gives it.
    QString decode(QByteArrayView bytes, bool upperCase);

private:
    QStringDecoder utf8_;
};

// Turns the bytes of an entry-list file, fed in chunks of any size, into entries
// appended to a list. Lines end at CR LF or a lone CR; a lone LF inside a line
// separates entries too. Only the last piece of each line is upper-cased, and a
// final line end gives no extra entry (a trailing lone LF leaves an empty last
// piece, which does).
//
// Editors on other systems open a file with a byte-order mark: a UTF-8 mark is
// dropped, and a file that opens with a UTF-16 mark (either byte order) is read
// as UTF-16 under the same line rules.
class EntrySplitter {
public:
    explicit EntrySplitter(ListView& list) : list_(list) {}

    void feed(const char* data, std::size_t size);
    // Appends the piece that the end of the file closes, if any; the splitter
    // is then ready for another file.
    void finish();

private:
    enum class Encoding { Undecided, EightBit, Utf16 }; // EightBit: UTF-8, else Latin-1
    bool decideEncoding(bool atEnd);
    void passHead();
    void route(const char* data, std::size_t size);
    void split(const char* data, std::size_t size);
    void appendPiece(const char* begin, const char* end, bool lastOfLine);

    ListView& list_;
    Encoding encoding_ = Encoding::Undecided;
    std::string head_;          // the first bytes, until they show whether a mark opens the file
    std::size_t markBytes_ = 0; // the length of that mark
    Utf16ToUtf8 utf16_;
    std::string transcoded_;
    EntryTextDecoder decoder_;
    std::string carry_;      // the start of a piece that crosses a chunk boundary
    bool pendingCr_ = false; // a chunk ended in CR: an LF opening the next one belongs to it
    bool lineOpen_ = false;  // bytes (or an LF) have come since the last line end
};

} // namespace tallyvane
