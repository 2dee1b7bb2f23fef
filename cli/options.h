// The command line of vk37save: what it is asked to do, read from its
// arguments, and the help text that describes it.
#pragma once

#include <string>
#include <vector>

enum class CliCommand { Save, List, Help, Version };

struct CliOptions {
    CliCommand command = CliCommand::Save;
    bool byName = false;    // the camera is chosen by name (or device path), not position
    long long position = 0; // the camera's position when not by name
    std::wstring name;
    std::wstring directory; // where VK37.INI goes; empty for the current directory
    bool quiet = false;
};

// Reads args (args[0] is the program's name). On a usage error returns false
// with a one-line reason in error.
bool ParseCliOptions(const std::vector<std::wstring>& args, CliOptions& options,
                     std::wstring& error);

// The text --help prints.
const wchar_t* CliHelpText();
