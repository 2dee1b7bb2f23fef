// The one place where a system error number becomes a platform status: the
// Win32 code that GetLastError reports, or the HRESULT a COM call returns.
#pragma once

#include "platform/wintypes.h"

// ERROR_SUCCESS for 0; otherwise the closest Win32 error code.
DWORD Win32ErrorFromErrno(int error);

// S_OK for 0; otherwise HRESULT_FROM_WIN32 of the Win32 code, and E_FAIL for
// an errno value that has no closer meaning.
HRESULT HResultFromErrno(int error);
