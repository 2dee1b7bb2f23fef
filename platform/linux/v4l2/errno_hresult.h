// The one place where a system error number becomes a status code.
#pragma once

#include "platform/wintypes.h"

// S_OK for 0; otherwise the Win32-style code closest to the errno value.
HRESULT HResultFromErrno(int error);
