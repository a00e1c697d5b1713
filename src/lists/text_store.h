#pragma once

#include <QString>
#include <QStringView>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace tallyvane {

// The texts of a list's rows, packed one after another into large blocks: one
// byte a character when every character is Latin-1 (phone numbers, codes,
// state names), two otherwise, behind a length of one or two bytes. A text of
// at most seven Latin-1 characters ("NH", "603") lives in its handle alone. A
// stored text never moves or changes, so a handle stays valid for as long as
// the store lives, also after the list has forgotten the row; the store is
// shared so that another list can refer to its texts.
class TextStore {
public:
    using Handle = std::uint64_t;

    // May throw std::bad_alloc; the store is then unchanged.
    Handle add(QStringView text);

    qsizetype size(Handle handle) const;
    // The first maxChars characters of the text, or the whole text.
    QString text(Handle handle, qsizetype maxChars = -1) const;
    bool equals(Handle handle, QStringView text) const;

    static bool isInline(Handle handle) { return (handle & kInlineBit) != 0; }

    // Bits of a stored handle that the store leaves free, for the caller's own
    // tag (see RowTable's row origins).
    static constexpr int kTagShift = 56;
    static constexpr Handle kTagMask = Handle(0x7F) << kTagShift;

private:
    static constexpr Handle kInlineBit = Handle(1) << 63;
    static constexpr std::size_t kBlockBytes = std::size_t(1) << 20;
    static constexpr qsizetype kCachedTextChars = 64;

    struct Record {
        const char* bytes;
        qsizetype size;
        bool wide;
    };
    Record record(Handle handle) const;
    char* reserve(std::size_t bytes, Handle& handle);

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t used_ = 0;     // bytes used in the last block
    std::size_t capacity_ = 0; // its size
    // Lists repeat texts ("Not Found", the areas of a state) handed over as one
    // shared string; they are stored once. Keyed by where the caller's
    // characters lie, and checked by content.
    std::array<Handle, 256> recent_{};
};

} // namespace tallyvane
