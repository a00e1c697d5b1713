#pragma once

#include <cstddef>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

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
    // writes).
    static constexpr int kDiscard = -1;
    // Each full block goes to the sink instead of a descriptor.
    using Sink = std::function<void(std::string_view)>;
    // The block is not cleared: its pages are touched only as rows fill it.
    explicit ByteOutput(int fd, std::size_t blockSize = std::size_t(1) << 20)
        : fd_(fd), buffer_(std::make_unique_for_overwrite<char[]>(blockSize)), size_(blockSize) {}
    ByteOutput(Sink sink, std::size_t blockSize) : ByteOutput(kDiscard, blockSize) {
        sink_ = std::move(sink);
    }

    void put(std::string_view bytes) {
        if (bytes.empty()) // its data may be null, which memcpy must not see
            return;
        if (bytes.size() > size_ - used_) {
            flush();
            if (bytes.size() >= size_)
                return writeAll(bytes.data(), bytes.size());
        }
        std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
        used_ += bytes.size();
    }
    // A text of at most kShort bytes, given in a block of kShort bytes that
    // may be read whole: one fixed-size copy, which the compiler makes two
    // moves, instead of a call that copies any size.
    static constexpr std::size_t kShort = 32;
    void putShort(const char* block, std::size_t size) {
        if (size_ - used_ < kShort)
            return put(std::string_view(block, size));
        std::memcpy(buffer_.get() + used_, block, kShort);
        used_ += size;
    }
    void put(char c) {
        if (used_ == size_)
            flush();
        buffer_[used_++] = c;
    }
    void flush() {
        const std::size_t n = used_;
        used_ = 0;
        writeAll(buffer_.get(), n);
    }
    // Drops what is held back and not written yet.
    void discardPending() { used_ = 0; }
    // Flushes and closes the descriptor, so that a failure the file system
    // reports only at closing is not missed either.
    void close();

private:
    void writeAll(const char* data, std::size_t size);

    int fd_;
    std::unique_ptr<char[]> buffer_;
    std::size_t size_;
    std::size_t used_ = 0;
    Sink sink_;
};

} // namespace tallyvane::batch
