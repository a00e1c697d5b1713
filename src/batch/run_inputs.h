#pragma once

#include "batch/convert_options.h"
#include "reading/file_kind.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace tallyvane::batch {

// How much the converters read at a time.
inline constexpr std::size_t kBlockSize = std::size_t(1) << 20;

// One line on standard error: "tallyvane-convert: what".
void complain(const std::string& what);

// "the standard input" for -, else the file's name.
std::string inputName(const std::string& file);

// What a regular file looks like from its first bytes, read without moving
// its offset. A pipe counts as text: waiting for its first 8 KB would hold
// back the results of the lines already come.
FileLooks looksOf(int fd);

// Lines are read only from text; anything else is refused by name (-1).
int refuseUnlessText(const FileLooks& looks, const std::string& file);

// Opens each input in turn and hands it to convert, which answers 0 or an
// errno (-1: it has said what went wrong itself). False when one failed.
template <class Convert>
bool forEachInput(const ConvertOptions& options, bool inputClosed, Convert&& convert) {
    std::vector<std::string> files = options.files;
    if (files.empty())
        files.emplace_back("-");
    bool allRead = true;
    for (const std::string& file : files) {
        const bool standardInput = file == "-";
        const int fd = standardInput ? (inputClosed ? -1 : STDIN_FILENO)
                                     : ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
        const int error = fd >= 0 ? convert(fd, file, looksOf(fd)) : standardInput ? EBADF : errno;
        if (fd >= 0 && !standardInput)
            ::close(fd);
        if (error > 0)
            complain(file + ": " + std::strerror(error));
        allRead = allRead && error == 0;
    }
    return allRead;
}

} // namespace tallyvane::batch
