// errno to HRESULT. A camera that has gone away reads as "device not
// connected" whichever of the three errno values the kernel chose to say it.
#include "platform/linux/v4l2/errno_hresult.h"

#include <cerrno>

HRESULT HResultFromErrno(int error) {
    switch (error) {
    case 0:
        return S_OK;
    case ENODEV:
    case ENXIO:
    case ENOENT:
        return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    case EACCES:
    case EPERM:
        return E_ACCESSDENIED;
    case EBUSY:
        return HRESULT_FROM_WIN32(ERROR_BUSY);
    case EIO:
        return HRESULT_FROM_WIN32(ERROR_IO_DEVICE);
    case EINVAL:
        return E_INVALIDARG;
    case ENOMEM:
        return E_OUTOFMEMORY;
    case ENOTTY:
        return HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED);
    default:
        return E_FAIL;
    }
}
