// The command lines of vk37save and vk37load: what each is asked to do, read
// from its arguments, and the help text that describes it. The options they
// share mean the same in both.
#pragma once

#include <string>
#include <vector>

enum class CliProgram { Save, Load };

// Run: the program's own work, the save or the restore.
enum class CliCommand { Run, List, Help, Version };

struct CliOptions {
    CliCommand command = CliCommand::Run;
    bool deviceGiven = false; // --device was given
    bool byName = false;      // the camera is chosen by name (or device path), not position
    long long position = 0;   // the camera's position when not by name
    std::wstring name;
    std::wstring directory; // where VK37.INI is; empty for the current directory
    bool quiet = false;
    std::wstring file;     // vk37load: the file to restore from, instead of VK37.INI
    bool check = false;    // vk37load: compare only
    bool defaults = false; // vk37load: the camera's own defaults, no file
};

// Reads args (args[0] is the program's name) for program. On a usage error
// returns false with a one-line reason in error.
bool ParseCliOptions(const std::vector<std::wstring>& args, CliOptions& options,
                     std::wstring& error, CliProgram program = CliProgram::Save);

// The text --help prints.
const wchar_t* CliHelpText(CliProgram program = CliProgram::Save);
