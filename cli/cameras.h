// What vk37save and vk37load share around a camera: the terminal their text
// goes to, the names and paths of the listed cameras, the choice of a camera
// by --device, and the messages about those.
#pragma once

#include "capture/capturedevice.h"
#include "cli/options.h"

#include <functional>
#include <string>
#include <vector>

// Where the command's text goes. Each returns false when the stream did not
// take the text.
struct CliTerminal {
    std::function<bool(const std::wstring&)> out;
    std::function<bool(const std::wstring&)> err;
};

// The name as the dialog lists it.
std::wstring CameraNameAt(const CCaptureDevice& device, int position);

// What the system knows the device by: its device path, else its moniker's
// display name.
std::wstring CameraPathAt(const CCaptureDevice& device, int position);

// The position --device chooses, or -1: the position itself; else the first
// camera whose name is the value as listed, then the first whose name is the
// value as the system reports it (without the suffix that tells namesakes
// apart in the list), then the one whose path it is.
int ChooseCamera(const CCaptureDevice& device, const CliOptions& options);

// "PROGRAM: no camera ..." at the position or device path, or of the name,
// with the number of cameras and where to see them.
std::wstring CameraNotFound(const wchar_t* program, const CliOptions& options, int count);

std::wstring HexCode(DWORD value);

// "PROGRAM: cannot ACTION 'DIRECTORY': reason".
std::wstring DirectoryError(const wchar_t* program, const wchar_t* action,
                            const std::wstring& directory, DWORD error);

// A program's start and end around its command: COM for the command, and
// the command's text on the process's standard streams.
using CliCommandFunction = int (*)(const std::vector<std::wstring>& args,
                                   const CliTerminal& terminal);
int RunOnConsole(const std::vector<std::wstring>& args, CliCommandFunction command);
