// vk37load's work: reads a parameter file, chooses the camera (--device, or
// the file's PORT) and restores the file's settings into it, or checks them,
// through RestoreParameters.
#pragma once

#include "cli/cameras.h"

#include <string>
#include <vector>

// The exit statuses, as --help and the manual page describe them.
enum LoadExitStatus {
    kLoadExitHeld = 0,      // the camera holds every value of the file
    kLoadExitBadFile = 1,   // the file is missing, unreadable or not a parameter file
    kLoadExitNoCamera = 2,  // no such camera, it could not be opened, or it left part-way
    kLoadExitShortfall = 3, // some properties were not applied, or --check found a difference
    kLoadExitUsage = 64,    // the command line was wrong
};

// Runs the command for args (args[0] is the program's name). COM must be
// initialised on the calling thread.
int RunLoadCommand(const std::vector<std::wstring>& args, const CliTerminal& terminal);
