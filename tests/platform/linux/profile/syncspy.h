// A stand-in for the profile writer's sync hook that counts file and
// directory syncs and can make the directory's fail, for the tests of what a
// save costs in syncs and of what a failed flush does.
#pragma once

#include "platform/linux/profile/profilesync.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

struct CSyncSpy {
    static inline int fileSyncs = 0;
    static inline int directorySyncs = 0;
    static inline int directoryError = 0; // what a directory sync fails with; 0: it works

    static int Sync(int fd) {
        struct stat st;
        if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ++directorySyncs;
            if (directoryError != 0) {
                errno = directoryError;
                return -1;
            }
        } else {
            ++fileSyncs;
        }
        return fsync(fd);
    }

    static void Reset(int error) {
        fileSyncs = directorySyncs = 0;
        directoryError = error;
    }
};
