#pragma once

#include <cstddef>
#include <string>

namespace tallyvane {

// Turns UTF-16 bytes of one byte order, fed in chunks of any size, into UTF-8.
// A code unit or a surrogate pair cut by a chunk boundary waits for its rest.
// An unpaired surrogate, or an odd byte left at the end, becomes U+FFFD.
class Utf16ToUtf8 {
public:
    explicit Utf16ToUtf8(bool bigEndian = false) : bigEndian_(bigEndian) {}

    // Appends the UTF-8 of every complete character in the bytes to out.
    void convert(const char* data, std::size_t size, std::string& out);
    // Appends what the end of the text leaves incomplete, and starts afresh.
    void finish(std::string& out);

private:
    void unit(char16_t u, std::string& out);

    bool bigEndian_;
    int heldByte_ = -1;     // the first byte of a code unit, or -1
    char16_t heldHigh_ = 0; // a high surrogate waiting for its pair, or 0
};

} // namespace tallyvane
