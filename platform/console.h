// The command-line program's side of the seam. The platform's entry point
// (main on Linux, wmain on Windows) hands the arguments over as wide text and
// exits with what ConsoleMain returns; text goes out on the standard streams
// in the form the system's terminals and pipes expect.
#pragma once

#include "platform/wintypes.h"

#include <string>
#include <vector>

#ifndef _WIN32
// Makes path the current directory; FALSE with the reason in GetLastError().
BOOL SetCurrentDirectoryW(LPCWSTR path);
#endif

// Defined by the program. args[0] is the name the program was started by.
int ConsoleMain(const std::vector<std::wstring>& args);

enum class ConsoleStream { Output, Error };

// Writes text as it stands, "\n" ending each line. False when the stream
// did not take all of it (a closed pipe, a full disk).
bool WriteConsoleText(ConsoleStream stream, const std::wstring& text);
