// Locking, reading and crash-safe replacement of a profile file with POSIX
// calls. The temporary content lives in an O_TMPFILE inode that the kernel
// discards if the process dies, so a kill leaves a named temporary only in
// the short step between linkat and renameat; the next write cleans it up.
#include "platform/linux/profile/profilestore.h"

#include "platform/linux/profile/fd.h"
#include "platform/linux/errno_mapping.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
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
// AT_EMPTY_PATH needs CAP_DAC_READ_SEARCH but no /proc.
DWORD LinkUnnamed(int fd, int dirFd, const std::string& name) {
    std::string proc = "/proc/self/fd/" + std::to_string(fd);
    if (linkat(AT_FDCWD, proc.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return ERROR_SUCCESS;
    int err = errno;
    if (linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0)
        return ERROR_SUCCESS;
    return Win32ErrorFromErrno(err);
}

} // namespace

DWORD LockDirectory(int dirFd) {
    while (flock(dirFd, LOCK_EX) != 0) {
        if (errno != EINTR)
            return Win32ErrorFromErrno(errno);
    }
    return ERROR_SUCCESS;
}

std::string TemporaryName(const std::string& name) {
    return "." + name + ".tmp";
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
        ssize_t n = read(fd.Get(), &file.m_raw[done], file.m_raw.size() - done);
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
    const std::string temporary = TemporaryName(name);
    const mode_t mode = old.m_exists ? (old.m_stat.st_mode & 07777) : 0666;
    CTemporaryName guard(dirFd, temporary);

    bool named = false;
    CFd fd(openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode));
    if (!fd.IsValid()) {
        // Some file systems have no unnamed files; a named one under the lock
        // is the fallback, and the next writer removes it after a crash.
        fd.Reset(openat(dirFd, temporary.c_str(),
                        O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode));
        if (!fd.IsValid())
            return Win32ErrorFromErrno(errno);
        named = true;
        guard.Arm();
    }
    if (old.m_exists) {
        // Only root may give a file away; anyone else keeps their own ids.
        (void)fchown(fd.Get(), old.m_stat.st_uid, old.m_stat.st_gid);
        if (fchmod(fd.Get(), mode) != 0)
            return Win32ErrorFromErrno(errno);
    }
    DWORD err = ERROR_SUCCESS;
    for (std::string_view piece : pieces) {
        err = WriteAll(fd.Get(), piece);
        if (err != ERROR_SUCCESS)
            return err;
    }
    if (fsync(fd.Get()) != 0)
        return Win32ErrorFromErrno(errno);
    if (!named) {
        err = LinkUnnamed(fd.Get(), dirFd, temporary);
        if (err != ERROR_SUCCESS)
            return err;
        guard.Arm();
    }
    if (renameat(dirFd, temporary.c_str(), dirFd, name.c_str()) != 0)
        return Win32ErrorFromErrno(errno);
    guard.Disarm();
    // The new content is in place now. Some file systems cannot sync a
    // directory (EINVAL); that is no reason to call the write failed.
    if (fsync(dirFd) != 0 && errno != EINVAL)
        return Win32ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

} // namespace profile
