// Locking, reading and crash-safe replacement of a profile file with POSIX
// calls. The temporary content lives in an O_TMPFILE inode that the kernel
// discards if the process dies; it is written and synced while unnamed and
// named only right before the rename, so a kill leaves a named temporary
// only in the short step between linkat and renameat (or, where no unnamed
// file can be made or named, during the named one's write and sync); the
// next write cleans it up.
#include "platform/linux/profile/profilestore.h"

#include "platform/linux/profile/profilesync.h"
#include "platform/linux/errno_mapping.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace profile {

namespace {

DWORD WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Win32ErrorFromErrno(errno);
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return ERROR_SUCCESS;
}

// Removes the named temporary unless the rename consumed it.
class CTemporaryName {
public:
    CTemporaryName(int dirFd, const std::string& name) : m_dirFd(dirFd), m_name(name) {}
    ~CTemporaryName() {
        if (m_armed)
            unlinkat(m_dirFd, m_name.c_str(), 0);
    }
    CTemporaryName(const CTemporaryName&) = delete;
    CTemporaryName& operator=(const CTemporaryName&) = delete;
    void Arm() { m_armed = true; }
    void Disarm() { m_armed = false; }

private:
    int m_dirFd;
    std::string m_name;
    bool m_armed = false;
};

// Gives the unnamed file a name; /proc works without privileges,
// AT_EMPTY_PATH needs CAP_DAC_READ_SEARCH but no /proc. Without either the
// caller writes a named temporary instead.
bool LinkUnnamed(int fd, int dirFd, const std::string& name) {
    const CStoreHooks& hooks = StoreHooks();
    std::string proc = hooks.fdDirectory + std::to_string(fd);
    return hooks.link(AT_FDCWD, proc.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
           hooks.link(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0;
}

// The names of fd's extended attributes, each ending in a NUL; none where
// the file system has none.
bool ListAttributes(int fd, std::vector<char>& names) {
    for (;;) {
        ssize_t size = flistxattr(fd, nullptr, 0);
        if (size < 0) {
            names.clear();
            return errno == ENOTSUP;
        }
        names.resize(static_cast<size_t>(size));
        size = flistxattr(fd, names.data(), names.size());
        if (size >= 0) {
            names.resize(static_cast<size_t>(size));
            return true;
        }
        if (errno != ERANGE) // ERANGE: an attribute came in between
            return false;
    }
}

bool GetAttribute(int fd, const char* name, std::vector<char>& value) {
    for (;;) {
        ssize_t size = fgetxattr(fd, name, nullptr, 0);
        if (size < 0)
            return false;
        value.resize(static_cast<size_t>(size));
        size = fgetxattr(fd, name, value.data(), value.size());
        if (size >= 0) {
            value.resize(static_cast<size_t>(size));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

bool Listed(const std::vector<char>& names, const char* name) {
    for (size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
        if (std::strcmp(&names[at], name) == 0)
            return true;
    }
    return false;
}

// Gives the new file the old one's extended attributes, ACLs included, and
// drops those it got on its own, such as the directory's default ACL. False
// when the new file cannot carry the same set.
bool CopyAttributes(int from, int to) {
    std::vector<char> names;
    std::vector<char> own;
    if (!ListAttributes(from, names) || !ListAttributes(to, own))
        return false;
    for (size_t at = 0; at < own.size(); at += std::strlen(&own[at]) + 1) {
        if (!Listed(names, &own[at]) && fremovexattr(to, &own[at]) != 0)
            return false;
    }
    std::vector<char> value;
    std::vector<char> present;
    for (size_t at = 0; at < names.size(); at += std::strlen(&names[at]) + 1) {
        const char* name = &names[at];
        if (!GetAttribute(from, name, value))
            return false;
        // An attribute the system sets itself may refuse to be set again
        // while already holding the same value.
        if (fsetxattr(to, name, value.data(), value.size(), 0) != 0 &&
            !(GetAttribute(to, name, present) && present == value))
            return false;
    }
    return true;
}

// Gives the temporary the old file's owner, mode and attributes, then the
// content. keepIdentity is set when the temporary cannot be the same file
// to its users: another owner, or attributes it cannot have.
DWORD FillTemporary(int fd, const CProfileFile& old, mode_t mode,
                    const std::vector<std::string_view>& pieces, bool& keepIdentity) {
    keepIdentity = false;
    if (old.m_exists) {
        // Only root may give a file away; anyone else keeps their own ids.
        (void)fchown(fd, old.m_stat.st_uid, old.m_stat.st_gid);
        struct stat st;
        if (fstat(fd, &st) != 0)
            return Win32ErrorFromErrno(errno);
        if (st.st_uid != old.m_stat.st_uid || st.st_gid != old.m_stat.st_gid ||
            !CopyAttributes(old.m_fd.Get(), fd)) {
            keepIdentity = true;
            return ERROR_SUCCESS;
        }
        // After the ACL, which sets the group bits the old mode already has.
        if (fchmod(fd, mode) != 0)
            return Win32ErrorFromErrno(errno);
    }
    for (std::string_view piece : pieces) {
        const DWORD err = WriteAll(fd, piece);
        if (err != ERROR_SUCCESS)
            return err;
    }
    return ERROR_SUCCESS;
}

// Where a replace would change what the file is, or the directory refuses
// new files, the new content goes into the old inode, as Windows writes
// every profile. Not atomic: a kill part-way leaves the new bytes up to where
// the write got and the old ones after them. The space is reserved first, so
// a full disk fails before the first byte changes.
DWORD WriteInPlace(int dirFd, const std::string& name, const std::vector<std::string_view>& pieces,
                   const CProfileFile& old) {
    CFd fd(openat(dirFd, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.IsValid())
        return Win32ErrorFromErrno(errno);
    struct stat st;
    if (fstat(fd.Get(), &st) != 0)
        return Win32ErrorFromErrno(errno);
    // Writers outside the lock may have put another file there since.
    if (st.st_dev != old.m_stat.st_dev || st.st_ino != old.m_stat.st_ino)
        return ERROR_SHARING_VIOLATION;
    off_t size = 0;
    for (std::string_view piece : pieces)
        size += static_cast<off_t>(piece.size());
    if (size > 0 && fallocate(fd.Get(), FALLOC_FL_KEEP_SIZE, 0, size) != 0 &&
        (errno == ENOSPC || errno == EDQUOT))
        return Win32ErrorFromErrno(errno);
    for (std::string_view piece : pieces) {
        const DWORD err = WriteAll(fd.Get(), piece);
        if (err != ERROR_SUCCESS)
            return err;
    }
    if (ftruncate(fd.Get(), size) != 0 || SyncFd(fd.Get()) != 0)
        return Win32ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

} // namespace

DWORD LockDirectory(int dirFd, bool shared) {
    while (flock(dirFd, shared ? LOCK_SH : LOCK_EX) != 0) {
        if (errno != EINTR)
            return Win32ErrorFromErrno(errno);
    }
    return ERROR_SUCCESS;
}

std::string TemporaryName(const std::string& name) {
    // Two names alike in their first 250 bytes share a temporary; their
    // writers take turns under the one directory lock.
    const size_t extra = 5;
    return "." + name.substr(0, NAME_MAX - extra) + ".tmp";
}

void RemoveStaleTemporary(int dirFd, const std::string& name) {
    unlinkat(dirFd, TemporaryName(name).c_str(), 0);
}

DWORD ReadProfileFile(int dirFd, const std::string& name, size_t maxSize, CProfileFile& file) {
    file = CProfileFile();
    // O_NONBLOCK so a FIFO of that name cannot hang the open.
    CFd fd(openat(dirFd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (!fd.IsValid())
        return errno == ENOENT ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
    if (fstat(fd.Get(), &file.m_stat) != 0)
        return Win32ErrorFromErrno(errno);
    if (!S_ISREG(file.m_stat.st_mode))
        return ERROR_ACCESS_DENIED;
    file.m_fd = std::move(fd);
    if (static_cast<unsigned long long>(file.m_stat.st_size) > maxSize)
        return ERROR_FILE_TOO_LARGE;
    file.m_exists = true;
    // One unit more than the size, so the read that finds the end fits.
    file.m_raw.resize(static_cast<size_t>(file.m_stat.st_size) + 1);
    size_t done = 0;
    for (;;) {
        if (done == file.m_raw.size()) {
            // The size may have grown since fstat; read on, within the limit.
            if (done >= maxSize + 1)
                return ERROR_FILE_TOO_LARGE;
            file.m_raw.resize(std::min(maxSize + 1, done + 65536));
        }
        ssize_t n = read(file.m_fd.Get(), &file.m_raw[done], file.m_raw.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Win32ErrorFromErrno(errno);
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    if (done > maxSize)
        return ERROR_FILE_TOO_LARGE;
    file.m_raw.resize(done);
    return ERROR_SUCCESS;
}

DWORD ReplaceProfileFile(int dirFd, const std::string& name,
                         const std::vector<std::string_view>& pieces, const CProfileFile& old) {
    // A rename needs only the directory's permission; a file its owner made
    // read-only must still refuse the write, as an in-place write would.
    if (old.m_exists && faccessat(dirFd, name.c_str(), W_OK, AT_EACCESS) != 0)
        return Win32ErrorFromErrno(errno);
    // A replace would leave the other names with the old text.
    if (old.m_exists && old.m_stat.st_nlink > 1)
        return WriteInPlace(dirFd, name, pieces, old);
    const std::string temporary = TemporaryName(name);
    const mode_t mode = old.m_exists ? (old.m_stat.st_mode & 07777) : 0666;
    CTemporaryName guard(dirFd, temporary);
    auto openNamed = [&](CFd& fd) {
        fd.Reset(openat(dirFd, temporary.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (fd.IsValid())
            guard.Arm();
        return fd.IsValid();
    };

    CFd fd(openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    // Some file systems have no unnamed files; a named one under the lock
    // is the fallback, and the next writer removes it after a crash.
    const bool named = !fd.IsValid() && openNamed(fd);
    if (!fd.IsValid()) {
        // A directory the caller may not write can hold a file they may.
        if (old.m_exists && (errno == EACCES || errno == EPERM))
            return WriteInPlace(dirFd, name, pieces, old);
        return Win32ErrorFromErrno(errno);
    }
    // The data must be on disk before the rename can be: a crash then leaves
    // the old or the new file whole, never an empty or torn one. The sync
    // is the long step, so it runs while the file has no name to leave.
    bool keepIdentity = false;
    auto fillAndSync = [&]() -> DWORD {
        const DWORD err = FillTemporary(fd.Get(), old, mode, pieces, keepIdentity);
        if (err != ERROR_SUCCESS || keepIdentity)
            return err;
        return SyncFd(fd.Get()) == 0 ? ERROR_SUCCESS : Win32ErrorFromErrno(errno);
    };
    DWORD err = fillAndSync();
    if (err == ERROR_SUCCESS && !keepIdentity && !named) {
        if (LinkUnnamed(fd.Get(), dirFd, temporary))
            guard.Arm();
        else if (openNamed(fd))
            err = fillAndSync(); // the synced unnamed file is lost; a named one is written anew
        else
            return Win32ErrorFromErrno(errno);
    }
    if (err != ERROR_SUCCESS)
        return err;
    if (keepIdentity)
        return WriteInPlace(dirFd, name, pieces, old);
    if (renameat(dirFd, temporary.c_str(), dirFd, name.c_str()) != 0)
        return Win32ErrorFromErrno(errno);
    guard.Disarm();
    // The new content is in place; the rename itself becomes durable with
    // the directory's sync at the flush request or at exit.
    return AddPendingDirectory(dirFd);
}

} // namespace profile
