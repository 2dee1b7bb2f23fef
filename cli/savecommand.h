// vk37save's work: lists the cameras, or saves one camera's settings through
// the same SaveParameters call as the dialog's save button, with the
// message boxes of the save written to the terminal instead.
#pragma once

#include "cli/cameras.h"

#include <string>
#include <vector>

// The exit statuses, as --help and the manual page describe them.
enum CliExitStatus {
    kExitSaved = 0,
    kExitWriteFailed = 1, // VK37.INI (or the listing) could not be written
    kExitNoCamera = 2,    // no such camera, or it could not be opened
    kExitUsage = 64,      // the command line was wrong
};

// Runs the command for args (args[0] is the program's name). COM must be
// initialised on the calling thread.
int RunSaveCommand(const std::vector<std::wstring>& args, const CliTerminal& terminal);
