#pragma once

#include <ctime>
#include <string>

#include <sys/stat.h>

namespace tallyvane {

// A folder's tree, walked through descriptors of open folders: nothing is
// looked up by path, so nothing can be swapped in under the walk; links are
// never followed, and the walk never enters a mount point of any kind (a
// bind mount of the same file system as much as a FUSE or tmpfs mount: what
// lies there is someone else's files).

// Opens the subfolder `name` of an open folder, without following a link,
// only if it is still the one `seen` describes (as fstatat saw it); -1 else.
int openSubfolder(int folder, const std::string& name, const struct stat& seen);

// For tests: open as on a kernel without openat2 (or in a sandbox that
// filters it), where the mount IDs alone tell a mount point.
void openAsWithoutOpenat2(bool without);

// The newest modification time of the folder and of anything in its tree.
std::time_t newestChangeIn(int folder);

// Removes what the folder holds, as far as it can. Entries on another file
// system stay, and so then does the folder that holds them.
void removeTreeContents(int folder);

} // namespace tallyvane
