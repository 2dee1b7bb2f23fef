// Profile (INI) files. On Windows the SDK provides the calls; elsewhere the
// platform layer implements them with the same rules.
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

// Reads what the writer wrote, by the same rules: the value of key in
// section (both names trimmed of blanks, CR and LF; the value of blanks and
// one pair of enclosing quotes), or lpDefault (null: "") when there is none,
// cut to nSize - 1 characters; returns the characters copied. A null key
// gives the section's key names, a null section the section names, each
// NUL-terminated with one more NUL at the end (two for a missing section).
// A missing file reads as empty, with ERROR_FILE_NOT_FOUND in
// GetLastError(); a path that cannot be opened, such as a directory, gives
// its error there, the default for a value or key list, and leaves the
// buffer of the section names alone. Files up to 4 GiB are read.
DWORD GetPrivateProfileStringW(LPCWSTR lpAppName, LPCWSTR lpKeyName, LPCWSTR lpDefault,
                               LPWSTR lpReturnedString, DWORD nSize, LPCWSTR lpFileName);
#endif
