// The profile write behind WritePrivateProfileStringW, returning its Win32
// error code directly and taking the size limit as a parameter for tests.
#pragma once

#include "platform/wintypes.h"

#include <cstddef>

namespace profile {

// The parameter file holds about fifty keys; a file far beyond that is not
// one this writer should load into memory several times over.
constexpr size_t kMaxProfileFileSize = size_t(32) << 20;

DWORD WriteProfileString(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path,
                         size_t maxFileSize);

} // namespace profile
