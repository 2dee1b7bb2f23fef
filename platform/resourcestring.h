// The program's string table outside the dialog framework: on Windows read
// from the running executable's resources, on Linux from the tables the build
// generates from the same script. The command-line program has no dialog
// framework, yet its texts come from the one string table.
#pragma once

#include "platform/wintypes.h"

#include <string>

// The string table entry id; text is left alone when there is none.
bool ReadResourceString(UINT id, std::wstring& text);
