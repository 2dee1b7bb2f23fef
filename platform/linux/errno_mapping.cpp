// errno values as Win32 error codes and HRESULTs.
#include "platform/linux/errno_mapping.h"

#include <cerrno>

DWORD Win32ErrorFromErrno(int error) {
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    // Missing files are created where that is wanted, so a missing name is
    // a directory on the way to it.
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
        return ERROR_OUTOFMEMORY;
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
    // The kernel answers these for a device that has been unplugged.
    case ENODEV:
    case ENXIO:
        return ERROR_DEVICE_NOT_CONNECTED;
    case EOPNOTSUPP:
    case ENOTTY:
        return ERROR_NOT_SUPPORTED;
    default:
        return ERROR_GEN_FAILURE;
    }
}

HRESULT HResultFromErrno(int error) {
    const DWORD code = Win32ErrorFromErrno(error);
    return code == ERROR_GEN_FAILURE ? E_FAIL : HRESULT_FROM_WIN32(code);
}
