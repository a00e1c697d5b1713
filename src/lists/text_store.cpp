#include "lists/text_store.h"

#include <algorithm>
#include <cstring>

namespace tallyvane {

namespace {

bool allLatin1(QStringView text) {
    char16_t any = 0;
    for (const QChar c : text)
        any |= c.unicode();
    return any < 0x100;
}

std::size_t headerBytes(std::uint64_t value) {
    std::size_t n = 1;
    while (value >= 0x80) {
        value >>= 7;
        ++n;
    }
    return n;
}

char* writeHeader(char* out, std::uint64_t value) {
    while (value >= 0x80) {
        *out++ = static_cast<char>((value & 0x7F) | 0x80);
        value >>= 7;
    }
    *out++ = static_cast<char>(value);
    return out;
}

std::size_t readHeader(const char* in, std::uint64_t& value) {
    value = 0;
    std::size_t n = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(in[n++]);
        value |= std::uint64_t(byte & 0x7F) << shift;
        if (byte < 0x80)
            return n;
    }
}

} // namespace

TextStore::Handle TextStore::add(QStringView text) {
    const qsizetype n = text.size();
    const bool latin1 = allLatin1(text);
    if (latin1 && n <= 7) {
        Handle handle = kInlineBit | Handle(n) << kTagShift;
        for (qsizetype i = 0; i < n; ++i)
            handle |= Handle(text[i].unicode()) << (8 * i);
        return handle;
    }
    const std::size_t slot = (reinterpret_cast<std::uintptr_t>(text.data()) >> 4) % recent_.size();
    if (n <= kCachedTextChars && recent_[slot] != 0 && equals(recent_[slot], text))
        return recent_[slot];
    const std::uint64_t header = std::uint64_t(n) << 1 | (latin1 ? 0 : 1);
    const std::size_t payload = std::size_t(n) * (latin1 ? 1 : 2);
    Handle handle = 0;
    char* out = writeHeader(reserve(headerBytes(header) + payload, handle), header);
    if (latin1) {
        for (qsizetype i = 0; i < n; ++i)
            out[i] = static_cast<char>(text[i].unicode());
    } else {
        std::memcpy(out, text.data(), payload);
    }
    if (n <= kCachedTextChars)
        recent_[slot] = handle;
    return handle;
}

char* TextStore::reserve(std::size_t bytes, Handle& handle) {
    if (blocks_.empty() || capacity_ - used_ < bytes) {
        // A long text gets a block of its own; short ones share 1 MiB blocks.
        const std::size_t size = std::max(bytes, kBlockBytes);
        blocks_.reserve(blocks_.size() + 1);
        blocks_.push_back(std::make_unique_for_overwrite<char[]>(size));
        used_ = 0;
        capacity_ = size;
    }
    handle = Handle(blocks_.size() - 1) << 32 | used_;
    char* out = blocks_.back().get() + used_;
    used_ += bytes;
    // Bytes the next text cannot use are not worth keeping a huge block open for.
    if (capacity_ > kBlockBytes)
        used_ = capacity_;
    return out;
}

TextStore::Record TextStore::record(Handle handle) const {
    if (isInline(handle)) {
        // The characters lie in the handle's low bytes (little-endian order
        // is not assumed: they are read back by shifting).
        return {nullptr, qsizetype((handle >> kTagShift) & 0x7), false};
    }
    const std::size_t block = (handle & ~kTagMask) >> 32;
    const char* at = blocks_[block].get() + (handle & 0xFFFFFFFFu);
    std::uint64_t header = 0;
    at += readHeader(at, header);
    return {at, qsizetype(header >> 1), (header & 1) != 0};
}

qsizetype TextStore::size(Handle handle) const {
    return record(handle).size;
}

QString TextStore::text(Handle handle, qsizetype maxChars) const {
    const Record r = record(handle);
    const qsizetype n = maxChars < 0 ? r.size : std::min(r.size, maxChars);
    if (isInline(handle)) {
        QString result(n, Qt::Uninitialized);
        for (qsizetype i = 0; i < n; ++i)
            result[i] = QChar(char16_t((handle >> (8 * i)) & 0xFF));
        return result;
    }
    if (!r.wide)
        return QString::fromLatin1(r.bytes, n);
    QString result(n, Qt::Uninitialized);
    std::memcpy(result.data(), r.bytes, std::size_t(n) * 2);
    return result;
}

bool TextStore::equals(Handle handle, QStringView text) const {
    const Record r = record(handle);
    if (r.size != text.size())
        return false;
    if (isInline(handle))
        return this->text(handle) == text;
    if (!r.wide)
        return QLatin1StringView(r.bytes, r.size) == text;
    return std::memcmp(r.bytes, text.data(), std::size_t(r.size) * 2) == 0;
}

} // namespace tallyvane
