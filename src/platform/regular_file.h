#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>

namespace tallyvane {

// A regular file opened for reading, never waiting on the way: without that,
// a FIFO with no writer would block the window for ever, and a device or a
// socket may never end. Closed on every way out.
class RegularFile {
public:
    // Throws Failure with the system's wording ("No such file or directory",
    // "Is a directory"), or "Not a regular file" for anything else.
    explicit RegularFile(const QString& path);
    ~RegularFile();
    RegularFile(const RegularFile&) = delete;
    RegularFile& operator=(const RegularFile&) = delete;

    std::int64_t size() const { return size_; }
    // The number of bytes read, 0 at the end of the file. Throws Failure.
    std::size_t read(char* buffer, std::size_t size);
    // Reads at an offset without moving on; fewer bytes near the end, 0 on a failure.
    std::size_t readAt(char* buffer, std::size_t size, std::int64_t offset) const;

private:
    int fd_ = -1;
    std::int64_t size_ = 0;
};

} // namespace tallyvane
