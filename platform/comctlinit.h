// Common controls registration. On Windows the SDK provides it; elsewhere the
// controls need no registration and the call only keeps the program's shape.
#pragma once

#include "platform/wintypes.h"

#ifdef _WIN32
#include <commctrl.h>
#else

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
typedef INITCOMMONCONTROLSEX* LPINITCOMMONCONTROLSEX;

#define ICC_WIN95_CLASSES 0x000000FFu

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);

#endif
