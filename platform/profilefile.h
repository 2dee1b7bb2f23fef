// Profile (INI) files. On Windows the SDK provides the call; elsewhere the
// platform layer implements it with the same update rules.
#pragma once

#include "platform/wintypes.h"

#ifndef _WIN32
// Sets key=value in [section] of the file at path, creating the file, the
// section or the key as needed and leaving every other line untouched. A null
// key removes the whole section; a null value removes the key. Returns non-zero
// on success; on failure zero, with the reason in GetLastError(). With
// section, key and value all null it is the flush request: it makes the
// process's earlier writes durable and, as on Windows, returns zero, with
// ERROR_SUCCESS in GetLastError() when that worked.
BOOL WritePrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpString,
                                LPCWSTR lpFileName);
#endif
