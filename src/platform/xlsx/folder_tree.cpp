#include "platform/xlsx/folder_tree.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace tallyvane {

namespace {

std::atomic<bool> withoutOpenat2{false};

// The names in the folder, read through a descriptor of its own.
std::vector<std::string> namesIn(int folder) {
    std::vector<std::string> names;
    const int own = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* listing = own >= 0 ? ::fdopendir(own) : nullptr;
    if (!listing) {
        if (own >= 0)
            ::close(own);
        return names;
    }
    while (const dirent* entry = ::readdir(listing)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(listing);
    return names;
}

// Calls visit for every entry of the folder that lies on the folder's own
// file system, with the folder's descriptor, the entry's name and its status
// (of the link itself, for a link).
void forEachEntry(int folder,
                  const std::function<void(int, const std::string&, const struct stat&)>& visit) {
    struct stat own {};
    if (::fstat(folder, &own) != 0)
        return;
    for (const std::string& name : namesIn(folder)) {
        // A mount point that is a file (a bind mount of one) cannot be
        // unlinked: the kernel answers EBUSY, so it stays as it should.
        struct stat entry {};
        if (::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
            entry.st_dev != own.st_dev)
            continue;
        visit(folder, name, entry);
    }
}

// Opens a subfolder only if it is no mount point. A bind mount of the same
// file system shares the device number, so the kernel is asked: openat2 with
// RESOLVE_NO_XDEV refuses to cross any mount. Where that call is missing (a
// kernel before 5.6, or a sandbox that filters it), the mount IDs of the
// folder and of what was opened must match; where neither can be told,
// nothing is opened, since deleting through a mount would lose someone
// else's files.
int openOwnSubfolder(int folder, const std::string& name) {
    open_how how{};
    how.flags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
    how.resolve = RESOLVE_NO_XDEV | RESOLVE_NO_SYMLINKS | RESOLVE_BENEATH;
    long sub = -1;
    if (withoutOpenat2)
        errno = ENOSYS;
    else
        sub = ::syscall(SYS_openat2, folder, name.c_str(), &how, sizeof how);
    if (sub >= 0 || (errno != ENOSYS && errno != EPERM))
        return static_cast<int>(sub);
    const int opened = ::openat(folder, name.c_str(), how.flags);
    if (opened < 0)
        return -1;
    struct statx parent {
    }, child{};
    if (::statx(folder, "", AT_EMPTY_PATH, STATX_MNT_ID, &parent) == 0 &&
        ::statx(opened, "", AT_EMPTY_PATH, STATX_MNT_ID, &child) == 0 &&
        (parent.stx_mask & child.stx_mask & STATX_MNT_ID) != 0 &&
        parent.stx_mnt_id == child.stx_mnt_id)
        return opened;
    ::close(opened);
    return -1;
}

} // namespace

void openAsWithoutOpenat2(bool without) {
    withoutOpenat2 = without;
}

int openSubfolder(int folder, const std::string& name, const struct stat& seen) {
    const int sub = openOwnSubfolder(folder, name);
    struct stat opened {};
    if (sub >= 0 && (::fstat(sub, &opened) != 0 || opened.st_dev != seen.st_dev ||
                     opened.st_ino != seen.st_ino)) {
        ::close(sub);
        return -1;
    }
    return sub;
}

std::time_t newestChangeIn(int folder) {
    struct stat own {};
    std::time_t newest = ::fstat(folder, &own) == 0 ? own.st_mtime : 0;
    forEachEntry(folder, [&](int parent, const std::string& name, const struct stat& entry) {
        newest = std::max(newest, entry.st_mtime);
        if (!S_ISDIR(entry.st_mode))
            return;
        const int sub = openSubfolder(parent, name, entry);
        if (sub < 0)
            return;
        newest = std::max(newest, newestChangeIn(sub));
        ::close(sub);
    });
    return newest;
}

void removeTreeContents(int folder) {
    forEachEntry(folder, [](int parent, const std::string& name, const struct stat& entry) {
        if (!S_ISDIR(entry.st_mode)) {
            ::unlinkat(parent, name.c_str(), 0);
            return;
        }
        const int sub = openSubfolder(parent, name, entry);
        if (sub < 0)
            return;
        removeTreeContents(sub);
        ::close(sub);
        ::unlinkat(parent, name.c_str(), AT_REMOVEDIR);
    });
}

} // namespace tallyvane
