#include "batch/scratch_folders.h"

#include "platform/failure.h"
#include "platform/xlsx/folder_tree.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tallyvane::batch {

namespace {

constexpr std::string_view kPrefix = ".tallyvane-convert-";

// What a signal handler removes: plain buffers, since it may call nothing
// but async-signal-safe functions.
char gFolder[PATH_MAX];
char gFile[PATH_MAX];
int gFolderFd = -1; // the folder, open, to empty it of files the library made there
struct sigaction gInterrupt {};
struct sigaction gTerminate {};

void copyInto(char (&buffer)[PATH_MAX], const std::string& text) {
    const std::size_t size = std::min(text.size(), sizeof buffer - 1);
    std::memcpy(buffer, text.data(), size);
    buffer[size] = '\0';
}

// Every file in the folder, with the system calls alone (readdir is no
// async-signal-safe function): the workbook library keeps files of its own
// there while it writes.
void emptyFolder(int folder) {
    alignas(8) char entries[4096];
    ::lseek(folder, 0, SEEK_SET);
    for (ssize_t got; (got = ::getdents64(folder, entries, sizeof entries)) > 0;) {
        for (ssize_t at = 0; at < got;) {
            const auto* entry = reinterpret_cast<const dirent64*>(entries + at);
            const bool dots =
                entry->d_name[0] == '.' &&
                (entry->d_name[1] == '\0' || (entry->d_name[1] == '.' && entry->d_name[2] == '\0'));
            if (!dots)
                ::unlinkat(folder, entry->d_name, 0);
            at += entry->d_reclen;
        }
    }
}

void removeScratch() {
    if (gFile[0] != '\0')
        ::unlink(gFile);
    if (gFolderFd >= 0)
        emptyFolder(gFolderFd);
    if (gFolder[0] != '\0')
        ::rmdir(gFolder);
}

extern "C" void onSignal(int signal) {
    removeScratch();
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

// SIGINT and SIGTERM held back while the folder and its handler are set up
// or taken down: a signal between the two would end the program with the
// folder left behind. One that came meanwhile is handled once they are let go.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t both;
        sigemptyset(&both);
        sigaddset(&both, SIGINT);
        sigaddset(&both, SIGTERM);
        ::pthread_sigmask(SIG_BLOCK, &both, &previous_);
    }
    ~SignalsHeld() { ::pthread_sigmask(SIG_SETMASK, &previous_, nullptr); }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_{};
};

bool processGone(std::string_view name) {
    name.remove_prefix(kPrefix.size());
    const std::size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos)
        return false;
    const std::string digits(name.substr(0, dash));
    char* end = nullptr;
    const long pid = std::strtol(digits.c_str(), &end, 10);
    if (*end != '\0' || pid <= 0 || pid == long(::getpid()))
        return false;
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

ScratchFolder::ScratchFolder(const std::string& parent) {
    removeStaleScratchFolders(parent);
    std::string pattern =
        parent + "/" + std::string(kPrefix) + std::to_string(::getpid()) + "-XXXXXX";
    const SignalsHeld held;
    if (::mkdtemp(pattern.data()) == nullptr)
        throw Failure(QStringLiteral("Cannot write in %1: %2")
                          .arg(QFile::decodeName(parent.c_str()), qt_error_string(errno)));
    path_ = pattern;
    copyInto(gFolder, path_);
    gFolderFd = ::open(path_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    gFile[0] = '\0';
    struct sigaction handler {};
    handler.sa_handler = onSignal;
    sigemptyset(&handler.sa_mask);
    ::sigaction(SIGINT, &handler, &gInterrupt);
    ::sigaction(SIGTERM, &handler, &gTerminate);
}

ScratchFolder::~ScratchFolder() {
    const SignalsHeld held;
    removeScratch();
    ::sigaction(SIGINT, &gInterrupt, nullptr);
    ::sigaction(SIGTERM, &gTerminate, nullptr);
    gFolder[0] = gFile[0] = '\0';
    if (gFolderFd >= 0)
        ::close(gFolderFd);
    gFolderFd = -1;
}

std::string ScratchFolder::fileNamed(const char* name) const {
    const std::string file = path_ + "/" + name;
    copyInto(gFile, file);
    return file;
}

int removeStaleScratchFolders(const std::string& parent) {
    const int folder = ::open(parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0)
        return 0;
    DIR* listing = ::fdopendir(::dup(folder));
    int removed = 0;
    while (dirent* entry = listing ? ::readdir(listing) : nullptr) {
        const std::string name = entry->d_name;
        struct stat seen {};
        if (!name.starts_with(kPrefix) || !processGone(name) ||
            ::fstatat(folder, name.c_str(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISDIR(seen.st_mode) || seen.st_uid != ::getuid())
            continue;
        const int stale = openSubfolder(folder, name, seen);
        if (stale < 0)
            continue;
        removeTreeContents(stale);
        ::close(stale);
        removed += ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 ? 1 : 0;
    }
    if (listing)
        ::closedir(listing);
    ::close(folder);
    return removed;
}

} // namespace tallyvane::batch
