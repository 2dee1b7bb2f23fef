// The profile write behind WritePrivateProfileStringW, returning its Win32
// error code directly and taking the size limit as a parameter for tests.
#pragma once

#include "platform/wintypes.h"

#include <cstddef>

namespace profile {

// The parameter file holds about fifty keys; a file far beyond that is not
// one this writer should load into memory several times over.
constexpr size_t kMaxProfileFileSize = size_t(32) << 20;

// Reads take a file of any size Windows' reader does, which gets the size
// as 32 bits: reading needs one copy of the file in memory, a write several.
constexpr size_t kMaxProfileReadSize = 0xFFFFFFFE;

DWORD WriteProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path,
                         size_t maxFileSize);

} // namespace profile
