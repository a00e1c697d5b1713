#include "batch/decoded_text.h"

#include "reading/byte_order_marks.h"
#include "reading/text_encoding.h"
#include "reading/utf16_to_utf8.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <unistd.h>

namespace tallyvane::batch {

namespace {

class Decoder {
public:
    Decoder(ByteSource raw, Marks marks) : raw_(std::move(raw)), marks_(marks) {}

    ssize_t read(char* buffer, std::size_t size) {
        if (!decided_ && !decide())
            return -1;
        if (utf32_) {
            errno = EILSEQ;
            return -1;
        }
        // What deciding (or decoding) made and the reader has not taken yet.
        if (taken_ < pending_.size())
            return give(buffer, size);
        if (!utf16_)
            return raw_(buffer, size);
        while (taken_ == pending_.size()) {
            pending_.clear();
            taken_ = 0;
            scratch_.resize(size);
            const ssize_t got = raw_(scratch_.data(), scratch_.size());
            if (got < 0)
                return got;
            if (got == 0) {
                if (finished_)
                    return 0;
                finished_ = true;
                utf16_->finish(pending_);
                continue;
            }
            utf16_->convert(scratch_.data(), std::size_t(got), pending_);
        }
        return give(buffer, size);
    }

private:
    // Reads the first bytes until they show the encoding; false on a failed read.
    bool decide() {
        std::string head;
        EncodingFound found;
        bool atEnd = false;
        while ((found = encodingOf(head, atEnd)).encoding == TextEncoding::Undecided) {
            char more[kEncodingSample];
            const ssize_t got = raw_(more, kEncodingSample - head.size());
            if (got < 0)
                return false;
            atEnd = got == 0;
            head.append(more, std::size_t(got));
        }
        decided_ = true;
        head.erase(0, found.markBytes);
        if (found.markBytes > 0 && marks_ == Marks::AsUtf8)
            pending_ = kUtf8Mark;
        utf32_ = found.encoding == TextEncoding::Utf32;
        if (found.encoding == TextEncoding::Utf16Le || found.encoding == TextEncoding::Utf16Be) {
            utf16_.emplace(found.encoding == TextEncoding::Utf16Be);
            utf16_->convert(head.data(), head.size(), pending_);
        } else {
            pending_ += head;
        }
        return true;
    }
    ssize_t give(char* buffer, std::size_t size) {
        const std::size_t count = std::min(size, pending_.size() - taken_);
        std::memcpy(buffer, pending_.data() + taken_, count);
        taken_ += count;
        return ssize_t(count);
    }

    ByteSource raw_;
    Marks marks_;
    std::string pending_;
    std::size_t taken_ = 0;
    std::string scratch_;
    std::optional<Utf16ToUtf8> utf16_;
    bool decided_ = false;
    bool utf32_ = false;
    bool finished_ = false;
};

} // namespace

ByteSource decodedText(ByteSource raw, Marks marks) {
    auto decoder = std::make_shared<Decoder>(std::move(raw), marks);
    return [decoder](char* buffer, std::size_t size) { return decoder->read(buffer, size); };
}

bool plainTextAt(int fd) {
    char head[kEncodingSample];
    const off_t offset = ::lseek(fd, 0, SEEK_CUR);
    const ssize_t got = ::pread(fd, head, sizeof head, offset < 0 ? 0 : offset);
    if (got < 0)
        return false;
    const EncodingFound found =
        encodingOf(std::string_view(head, std::size_t(got)), got < ssize_t(sizeof head));
    return found.encoding == TextEncoding::EightBit && found.markBytes == 0;
}

} // namespace tallyvane::batch
