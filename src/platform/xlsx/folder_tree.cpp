#include "platform/xlsx/folder_tree.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane {

namespace {

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
        struct stat entry {};
        if (::fstatat(folder, name.c_str(), &entry, AT_SYMLINK_NOFOLLOW) != 0 ||
            entry.st_dev != own.st_dev)
            continue;
        visit(folder, name, entry);
    }
}

} // namespace

int openSubfolder(int folder, const std::string& name, const struct stat& seen) {
    const int sub = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
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
