// The file operations of one profile write: the lock that serialises
// writers, reading the old content, and replacing it atomically.
#pragma once

#include "platform/wintypes.h"

#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace profile {

struct CProfileFile {
    bool m_exists = false;
    struct stat m_stat = {};
    std::string m_raw;
};

// An exclusive flock on the directory itself: the file is replaced by rename,
// so a lock on the file would guard an inode that is about to go away, and a
// lock file would litter the directory. Released when dirFd is closed.
DWORD LockDirectory(int dirFd);

// The name of the one temporary file a write may leave after a crash; only
// the holder of the directory lock creates or removes it.
std::string TemporaryName(const std::string& name);

// Best effort: a process killed between naming its temporary file and the
// rename leaves it behind, and the next writer under the lock removes it.
void RemoveStaleTemporary(int dirFd, const std::string& name);

// A missing file is not an error; anything but a regular file, or a file
// larger than maxSize, is.
DWORD ReadProfileFile(int dirFd, const std::string& name, size_t maxSize, CProfileFile& file);

// Writes the pieces, one after another, to an unnamed file in the same
// directory, syncs it, names it, renames it over name and syncs the
// directory. The old file's permissions and, where allowed, owner carry
// over; a new file gets 0666 less the umask. A file the caller may not
// write fails with ERROR_ACCESS_DENIED even where the directory would allow
// the rename.
DWORD ReplaceProfileFile(int dirFd, const std::string& name,
                         const std::vector<std::string_view>& pieces, const CProfileFile& old);

} // namespace profile
