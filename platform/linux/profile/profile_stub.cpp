#include "platform/profile.h"
BOOL WritePrivateProfileStringW(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR) { SetLastError(ERROR_NOT_SUPPORTED); return FALSE; }
