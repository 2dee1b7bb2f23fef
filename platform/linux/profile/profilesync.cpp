// Deferring the directory sync of each replace to one sync per directory
// per save: the file's data is synced before its rename, so a crash before
// the directory sync leaves an older whole file, never a torn one.
#include "platform/linux/profile/profilesync.h"

#include "platform/linux/errno_mapping.h"
#include "platform/linux/profile/fd.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace profile {

namespace {

// A writer that saves into many directories without ever flushing holds at
// most this many open; past that, they are synced right away.
constexpr size_t kMaxPending = 64;

struct CPendingDirectory {
    dev_t m_dev;
    ino_t m_ino;
    CFd m_fd;
};

struct CPending {
    std::mutex m_mutex;
    std::vector<CPendingDirectory> m_dirs;
};

// Never destroyed: the exit handler may run after every other static is
// gone, and must still find the list and its lock.
CPending& Pending() {
    static CPending* const pending = new CPending;
    return *pending;
}

// Some file systems cannot sync a directory (EINVAL); their renames are as
// durable as they will get.
DWORD SyncDirectory(int fd) {
    if (SyncFd(fd) != 0 && errno != EINVAL)
        return Win32ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

DWORD SyncAll(std::vector<CPendingDirectory>& dirs) {
    DWORD first = ERROR_SUCCESS;
    for (CPendingDirectory& dir : dirs) {
        const DWORD err = SyncDirectory(dir.m_fd.Get());
        if (first == ERROR_SUCCESS)
            first = err;
    }
    dirs.clear();
    return first;
}

void FlushAtExit() {
    (void)FlushPendingDirectories();
}

} // namespace

CStoreHooks& StoreHooks() {
    static CStoreHooks hooks = {&fsync, &linkat, "/proc/self/fd/"};
    return hooks;
}

int SyncFd(int fd) {
    int result;
    do
        result = StoreHooks().sync(fd);
    while (result != 0 && errno == EINTR);
    return result;
}

DWORD AddPendingDirectory(int dirFd) {
    struct stat st;
    if (fstat(dirFd, &st) != 0)
        return SyncDirectory(dirFd);
    CPending& pending = Pending();
    std::lock_guard<std::mutex> lock(pending.m_mutex);
    for (const CPendingDirectory& dir : pending.m_dirs) {
        if (dir.m_dev == st.st_dev && dir.m_ino == st.st_ino)
            return ERROR_SUCCESS;
    }
    // Opened anew, not duplicated: a duplicate would share, and so hold on
    // to, the writers' lock on the directory.
    CFd fd(openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd.IsValid() || pending.m_dirs.size() >= kMaxPending)
        return SyncDirectory(dirFd);
    static const bool registered = std::atexit(FlushAtExit) == 0;
    if (!registered)
        return SyncDirectory(dirFd);
    pending.m_dirs.push_back({st.st_dev, st.st_ino, std::move(fd)});
    return ERROR_SUCCESS;
}

DWORD FlushPendingDirectories() {
    CPending& pending = Pending();
    std::lock_guard<std::mutex> lock(pending.m_mutex);
    return SyncAll(pending.m_dirs);
}

} // namespace profile
