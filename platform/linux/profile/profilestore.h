// The file operations of one profile write: the lock that serialises
// writers, reading the old content, and replacing it atomically.
#pragma once

#include "platform/linux/profile/fd.h"
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
    CFd m_fd; // open for reading, to copy the file's attributes from
};

// An exclusive flock on the directory itself: the file is replaced by rename,
// so a lock on the file would guard an inode that is about to go away, and a
// lock file would litter the directory. Released when dirFd is closed.
// Readers take it shared, so they never see a file written in place half
// done.
DWORD LockDirectory(int dirFd, bool shared = false);

// The name of the one temporary file a write may leave after a crash; only
// the holder of the directory lock creates or removes it. It fits NAME_MAX
// whenever name does.
std::string TemporaryName(const std::string& name);

// Best effort: a process killed between naming its temporary file and the
// rename leaves it behind, and the next writer under the lock removes it.
void RemoveStaleTemporary(int dirFd, const std::string& name);

// A missing file is not an error; anything but a regular file, or a file
// larger than maxSize, is.
DWORD ReadProfileFile(int dirFd, const std::string& name, size_t maxSize, CProfileFile& file);

// Writes the pieces, one after another, to an unnamed file in the same
// directory (a named one where that cannot be named), syncs it and renames
// it over name; the directory's sync waits for FlushPendingDirectories. The
// old file's permissions, owner and extended attributes (ACLs included)
// carry over; a new file gets 0666 less the umask. Where the replace would
// change the file's identity (another link, an owner or attribute the new
// file cannot have) or the directory refuses the temporary, the new content
// is written into the old file instead, which is not atomic. A file the
// caller may not write fails with ERROR_ACCESS_DENIED even where the
// directory would allow the rename.
DWORD ReplaceProfileFile(int dirFd, const std::string& name,
                         const std::vector<std::string_view>& pieces, const CProfileFile& old);

} // namespace profile
