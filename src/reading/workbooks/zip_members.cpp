#include "reading/workbooks/zip_members.h"

#include "platform/failure.h"

#include <zip.h>

#include <algorithm>
#include <memory>
#include <vector>

#include <unistd.h>

namespace tallyvane {

namespace {

QString libzipWords(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    const QString words = QString::fromUtf8(zip_error_strerror(&error));
    zip_error_fini(&error);
    return words;
}

QString partName(std::string_view name) {
    return QString::fromUtf8(name.data(), qsizetype(name.size()));
}

struct ClosesMember {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

QString bombWords(std::string_view name) {
    return QStringLiteral("Not a readable workbook (its part %1 inflates to more than %2 times "
                          "its packed size, as a zip bomb does)")
        .arg(partName(name))
        .arg(ZipMembers::kBombRatio);
}

} // namespace

std::size_t ZipMembers::MemberStream::next(char* into, std::size_t size) {
    const zip_int64_t got = zip_fread(file, into, size);
    if (got < 0)
        throw Failure(QStringLiteral("Not a readable workbook (its part %1: %2)")
                          .arg(partName(name), QString::fromUtf8(zip_file_strerror(file))));
    total += std::uint64_t(got);
    if (total > limit)
        throw Failure(bombWords(name));
    return std::size_t(got);
}

ZipMembers::ZipMembers(int fd) {
    // libzip owns and closes the descriptor it is given.
    const int own = ::dup(fd);
    if (own < 0)
        throw Failure(QStringLiteral("Not a readable workbook (%1)").arg(qt_error_string(errno)));
    int code = 0;
    archive_ = zip_fdopen(own, ZIP_RDONLY, &code);
    if (archive_ == nullptr) {
        ::close(own);
        throw Failure(QStringLiteral("Not a readable workbook (%1)").arg(libzipWords(code)));
    }
}

ZipMembers::~ZipMembers() {
    if (archive_ != nullptr)
        zip_discard(archive_);
}

std::int64_t ZipMembers::indexOf(std::string_view name) const {
    const std::string wanted(name);
    return zip_name_locate(archive_, wanted.c_str(), ZIP_FL_NOCASE | ZIP_FL_ENC_GUESS);
}

bool ZipMembers::has(std::string_view name) const {
    return indexOf(name) >= 0;
}

void ZipMembers::read(std::string_view name, const Take& take) const {
    const std::int64_t index = indexOf(name);
    if (index < 0)
        throw Failure(
            QStringLiteral("Not a readable workbook (its part %1 is missing)").arg(partName(name)));
    zip_stat_t stat;
    zip_stat_init(&stat);
    const bool sized = zip_stat_index(archive_, zip_uint64_t(index), 0, &stat) == 0;
    const std::uint64_t packed = sized && (stat.valid & ZIP_STAT_COMP_SIZE) ? stat.comp_size : 0;
    const std::uint64_t limit = std::max(kBombFloor, packed * kBombRatio);
    if (sized && (stat.valid & ZIP_STAT_SIZE) != 0 && stat.size > limit)
        throw Failure(bombWords(name));
    const std::unique_ptr<zip_file_t, ClosesMember> member(
        zip_fopen_index(archive_, zip_uint64_t(index), 0));
    if (!member)
        throw Failure(QStringLiteral("Not a readable workbook (its part %1: %2)")
                          .arg(partName(name), QString::fromUtf8(zip_strerror(archive_))));
    MemberStream stream{member.get(), name, limit};
    // A large part is inflated on a thread of its own while the last block is
    // parsed; where no thread can be started, inflating and parsing take turns.
    if (packed >= kThreadedSize && inflateAhead(stream, take))
        return;
    std::vector<char> block(kBlockSize);
    for (std::size_t got; (got = stream.next(block.data(), block.size())) > 0;) {
        if (!take(block.data(), got))
            return;
    }
}

} // namespace tallyvane
