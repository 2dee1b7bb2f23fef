// The profile writer's disk syncs: the calls tests and the benchmark may
// replace, and the directories whose renames still wait for their sync
// until the flush request or the end of the process.
#pragma once

#include "platform/wintypes.h"

namespace profile {

// Every fsync of the writer goes through sync, so a test can count or fail
// them and the benchmark can make them as slow as a slow card's; link names
// the unnamed temporary, fdDirectory is where the process's descriptors show
// up as paths. Set them before writing, not while another thread writes.
struct CStoreHooks {
    int (*sync)(int fd);
    int (*link)(int oldDirFd, const char* oldPath, int newDirFd, const char* newPath, int flags);
    const char* fdDirectory;
};
CStoreHooks& StoreHooks();

// Syncs fd through the hook; EINTR is retried.
int SyncFd(int fd);

// Notes that a rename in dirFd is not durable yet. The directory is kept
// open until the next flush; when it cannot be, it is synced at once.
DWORD AddPendingDirectory(int dirFd);

// Syncs every noted directory and forgets it; the first error is returned.
// Runs by itself when the process exits normally.
DWORD FlushPendingDirectories();

} // namespace profile
