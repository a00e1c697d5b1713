#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane::batch {

// A write to the output failed; errorNumber is errno (EPIPE: the reader left).
struct OutputFailed {
    int errorNumber;
};

// Standard output in large blocks. Throws OutputFailed, never loses bytes
// silently: a short write is retried until everything is out or it fails.
class ByteOutput {
public:
    // fd kDiscard: everything put is dropped (--summary reads rows it never
    // writes); kCollect: it is kept in memory, for collected() to hand on.
    static constexpr int kDiscard = -1;
    static constexpr int kCollect = -2;
    explicit ByteOutput(int fd, std::size_t blockSize = std::size_t(1) << 20)
        : fd_(fd), buffer_(blockSize) {}

    void put(std::string_view bytes) {
        if (bytes.empty()) // its data may be null, which memcpy must not see
            return;
        if (bytes.size() > buffer_.size() - used_) {
            flush();
            if (bytes.size() >= buffer_.size())
                return writeAll(bytes.data(), bytes.size());
        }
        std::memcpy(buffer_.data() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    // A text of at most kShort bytes, given in a block of kShort bytes that
    // may be read whole: one fixed-size copy, which the compiler makes two
    // moves, instead of a call that copies any size.
    static constexpr std::size_t kShort = 32;
    void putShort(const char* block, std::size_t size) {
        if (buffer_.size() - used_ < kShort)
            return put(std::string_view(block, size));
        std::memcpy(buffer_.data() + used_, block, kShort);
        used_ += size;
    }
    void put(char c) {
        if (used_ == buffer_.size())
            flush();
        buffer_[used_++] = c;
    }
    void flush() {
        const std::size_t n = used_;
        used_ = 0;
        writeAll(buffer_.data(), n);
    }
    // Drops what is held back and not written yet.
    void discardPending() { used_ = 0; }
    // Flushes and closes the descriptor, so that a failure the file system
    // reports only at closing is not missed either.
    void close();
    // With kCollect: what was put since the last call, flushed.
    std::string_view collected() {
        flush();
        return collected_;
    }
    void clearCollected() { collected_.clear(); }

private:
    void writeAll(const char* data, std::size_t size);

    int fd_;
    std::vector<char> buffer_;
    std::size_t used_ = 0;
    std::string collected_;
};

} // namespace tallyvane::batch
