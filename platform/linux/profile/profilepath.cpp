// Path resolution for the profile writer, done relative to directory
// descriptors so each step looks at the directory found by the step before.
#include "platform/linux/profile/profilepath.h"

#include "platform/linux/errno_mapping.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace profile {

namespace {

// The kernel's own limit on symbolic links followed in one lookup.
constexpr int kMaxLinkHops = 40;

struct CDirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

void SplitPath(const std::string& path, std::string& dir, std::string& name) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        dir = ".";
        name = path;
    } else {
        dir = slash == 0 ? "/" : path.substr(0, slash);
        name = path.substr(slash + 1);
    }
}

DWORD OpenDirectory(int at, const std::string& path, CFd& dir) {
    int fd = openat(at, path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Win32ErrorFromErrno(errno);
    dir.Reset(fd);
    return ERROR_SUCCESS;
}

bool EqualIgnoringAsciiCase(const char* a, const std::string& b) {
    auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    size_t i = 0;
    for (; a[i] && i < b.size(); ++i) {
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return a[i] == '\0' && i == b.size();
}

DWORD MatchNameIgnoringCase(int dirFd, std::string& name) {
    struct stat st;
    if (fstatat(dirFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        return ERROR_SUCCESS;
    if (errno != ENOENT)
        return Win32ErrorFromErrno(errno);

    int fd = openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return Win32ErrorFromErrno(errno);
    std::unique_ptr<DIR, CDirCloser> dir(fdopendir(fd));
    if (!dir) {
        int err = errno;
        close(fd);
        return Win32ErrorFromErrno(err);
    }
    std::string best;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry)
            break;
        if (EqualIgnoringAsciiCase(entry->d_name, name) && (best.empty() || best > entry->d_name))
            best = entry->d_name;
    }
    if (errno != 0)
        return Win32ErrorFromErrno(errno);
    if (!best.empty())
        name = best;
    return ERROR_SUCCESS;
}

} // namespace

DWORD ResolveProfilePath(const std::string& path, CProfileTarget& target) {
    std::string unixPath = path;
    std::replace(unixPath.begin(), unixPath.end(), '\\', '/');

    std::string dirPath;
    std::string name;
    SplitPath(unixPath, dirPath, name);
    if (name.empty())
        return ERROR_PATH_NOT_FOUND;
    CFd dir;
    DWORD err = OpenDirectory(AT_FDCWD, dirPath, dir);
    if (err == ERROR_SUCCESS)
        err = MatchNameIgnoringCase(dir.Get(), name);
    if (err != ERROR_SUCCESS)
        return err;

    // Replacing a link by rename would swap the link for a plain file, so the
    // write goes to the file at the end of the chain.
    for (int hop = 0;; ++hop) {
        char link[PATH_MAX];
        ssize_t length = readlinkat(dir.Get(), name.c_str(), link, sizeof link);
        if (length < 0) {
            if (errno == EINVAL || errno == ENOENT)
                break; // not a link, or nothing there yet
            return Win32ErrorFromErrno(errno);
        }
        if (hop == kMaxLinkHops)
            return ERROR_CANT_RESOLVE_FILENAME;
        if (static_cast<size_t>(length) == sizeof link)
            return ERROR_FILENAME_EXCED_RANGE;
        SplitPath(std::string(link, static_cast<size_t>(length)), dirPath, name);
        if (name.empty())
            return ERROR_ACCESS_DENIED; // the link names a directory
        CFd next;
        err = OpenDirectory(dir.Get(), dirPath, next);
        if (err != ERROR_SUCCESS)
            return err;
        dir = std::move(next);
    }
    target.m_dir = std::move(dir);
    target.m_name = name;
    return ERROR_SUCCESS;
}

} // namespace profile
