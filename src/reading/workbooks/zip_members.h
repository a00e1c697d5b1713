#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

struct zip;
struct zip_file;

namespace tallyvane {

// The members of a workbook's zip archive, each inflated as it is read, so
// that no unpacked part is ever held whole. A member that inflates far past
// what its compressed size makes plausible (a zip bomb) is refused.
class ZipMembers {
public:
    // Reads the archive's directory from fd (which stays the caller's).
    // Throws Failure naming what is wrong with the archive.
    explicit ZipMembers(int fd);
    ~ZipMembers();
    ZipMembers(const ZipMembers&) = delete;
    ZipMembers& operator=(const ZipMembers&) = delete;

    // Whether a member of that name (ignoring case, as package parts are) is there.
    bool has(std::string_view name) const;
    // Hands the member's bytes to take in pieces until it returns false or
    // the member ends. Throws Failure.
    using Take = std::function<bool(const char* data, std::size_t size)>;
    void read(std::string_view name, const Take& take) const;

    // More inflated bytes than this per compressed byte, past kBombFloor, is
    // taken for a zip bomb.
    static constexpr std::uint64_t kBombRatio = 200;
    static constexpr std::uint64_t kBombFloor = std::uint64_t(64) << 20;

    // Inflated in blocks of this size; a part packed larger than
    // kThreadedSize is inflated ahead on a thread of its own.
    static constexpr std::size_t kBlockSize = std::size_t(1) << 18;
    static constexpr std::uint64_t kThreadedSize = std::uint64_t(1) << 20;

private:
    // One member being inflated, with the bomb check.
    struct MemberStream {
        zip_file* file;
        std::string_view name;
        std::uint64_t limit;
        std::uint64_t total = 0;
        // Up to size bytes into `into`; 0 at the end. Throws Failure.
        std::size_t next(char* into, std::size_t size);
    };
    // False when no thread could be started (nothing was read then).
    static bool inflateAhead(MemberStream& stream, const Take& take);
    std::int64_t indexOf(std::string_view name) const;
    zip* archive_ = nullptr;
};

} // namespace tallyvane
