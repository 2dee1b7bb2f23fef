// The single place where errno values become Win32 error codes.
#include "platform/linux/profile/win32error.h"

#include <cerrno>

namespace profile {

DWORD Win32ErrorFromErrno(int err) {
    switch (err) {
    case 0:
        return ERROR_SUCCESS;
    // The profile writer creates a missing file, so a missing name is always a
    // directory on the way to it.
    case ENOENT:
    case ENOTDIR:
        return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return ERROR_ACCESS_DENIED;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return ERROR_DISK_FULL;
    case ENOMEM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    case ELOOP:
        return ERROR_CANT_RESOLVE_FILENAME;
    case EEXIST:
        return ERROR_ALREADY_EXISTS;
    case EBUSY:
    case ETXTBSY:
        return ERROR_BUSY;
    case EAGAIN:
        return ERROR_SHARING_VIOLATION;
    case ENOLCK:
        return ERROR_LOCK_VIOLATION;
    case EIO:
        return ERROR_IO_DEVICE;
    case EBADF:
        return ERROR_INVALID_HANDLE;
    case EINVAL:
        return ERROR_INVALID_PARAMETER;
    case ENODEV:
    case ENXIO:
        return ERROR_DEV_NOT_EXIST;
    case EOPNOTSUPP:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

} // namespace profile
