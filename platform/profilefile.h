// Profile (INI) files. On Windows the SDK provides the call; elsewhere the
// platform layer implements it with the same update rules.
#pragma once

#include "platform/wintypes.h"

#ifndef _WIN32
// Sets key=value in [section] of the file at path, creating the file, the
// section or the key as needed and leaving every other line untouched. A null
// key removes the whole section; a null value removes the key. Returns non-zero
// on success; on failure zero, with the reason in GetLastError().
BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString,
                                LPCWSTR lpFileName);
#endif
