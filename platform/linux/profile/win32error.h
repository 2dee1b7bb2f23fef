// Translation of POSIX errno values into the Win32 error codes that
// GetLastError reports.
#pragma once

#include "platform/wintypes.h"

namespace profile {

// The SDK's ERROR_FILE_TOO_LARGE, which the shared header does not declare.
constexpr DWORD kErrorFileTooLarge = 223u;

DWORD Win32ErrorFromErrno(int err);

} // namespace profile
