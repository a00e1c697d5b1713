#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tallyvane {

// A workbook's table of shared strings, packed end to end: a million short
// texts cost their bytes and one offset each, not a string object each.
class PackedStrings {
public:
    void add(std::string_view text) {
        bytes_.append(text);
        ends_.push_back(bytes_.size());
    }
    std::size_t size() const { return ends_.size(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t start = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(start, ends_[i] - start);
    }
    // What the table holds, in bytes.
    std::size_t held() const { return bytes_.capacity() + ends_.capacity() * sizeof(std::size_t); }

private:
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

} // namespace tallyvane
