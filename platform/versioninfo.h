// The program's version record, as the resource script declares it: on
// Windows read back from the running executable, on Linux from the tables
// the build generates from the same script.
#pragma once

#include "platform/wintypes.h"

#include <string>

// A string of the record's first language block ("ProductVersion",
// "FileDescription", ...). value is left alone when there is none.
bool ReadVersionString(LPCWSTR name, std::wstring& value);
