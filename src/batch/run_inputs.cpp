#include "batch/run_inputs.h"

#include <cstdio>

#include <sys/stat.h>

namespace tallyvane::batch {

void complain(const std::string& what) {
    std::fprintf(stderr, "tallyvane-convert: %s\n", what.c_str());
}

FileLooks looksOf(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return {};
    std::string start(kFileKindSample, '\0');
    const off_t offset = ::lseek(fd, 0, SEEK_CUR);
    const ssize_t got = ::pread(fd, start.data(), start.size(), offset < 0 ? 0 : offset);
    start.resize(got > 0 ? std::size_t(got) : 0);
    return fileLooks(start);
}

std::string inputName(const std::string& file) {
    return file == "-" ? std::string("the standard input") : file;
}

int refuseUnlessText(const FileLooks& looks, const std::string& file) {
    if (looks.kind == FileKind::Text)
        return 0;
    if (looks.kind == FileKind::NotText)
        complain(notTextWords(inputName(file), looks) + "; nothing of it was converted");
    else if (looks.kind == FileKind::VCard)
        complain(inputName(file) + " is a vCard file; read its phone numbers with --column Phone");
    else
        complain(inputName(file) + " is a workbook; read a column of it with --column NAME");
    return -1;
}

} // namespace tallyvane::batch
