#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

#include <cstddef>
#include <string>

namespace tallyvane {

class ListView;

// The text of one entry. Entry-list files come from anywhere, so a piece that is
// valid UTF-8 is read as UTF-8 and any other piece as Latin-1: every byte becomes
// a character and nothing is replaced. A byte-order mark is not special.
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
class EntrySplitter {
public:
    explicit EntrySplitter(ListView& list) : list_(list) {}

    void feed(const char* data, std::size_t size);
    // Appends the piece that the end of the file closes, if any.
    void finish();

private:
    void appendPiece(const char* begin, const char* end, bool lastOfLine);

    ListView& list_;
    EntryTextDecoder decoder_;
    std::string carry_;      // the start of a piece that crosses a chunk boundary
    bool pendingCr_ = false; // a chunk ended in CR: an LF opening the next one belongs to it
    bool lineOpen_ = false;  // bytes (or an LF) have come since the last line end
};

} // namespace tallyvane
