// The camera list and choice shared by vk37save and vk37load.
#include "cli/cameras.h"

#include "platform/com.h"
#include "platform/console.h"

std::wstring CameraNameAt(const CCaptureDevice& device, int position) {
    std::wstring name;
    if (device.GetDeviceName(position, name) != S_OK)
        name = UnknownDeviceName();
    return name;
}

std::wstring CameraPathAt(const CCaptureDevice& device, int position) {
    std::wstring path;
    if (device.GetDevicePath(position, path) != S_OK || path.empty())
        device.GetDeviceId(position, path);
    return path;
}

int ChooseCamera(const CCaptureDevice& device, const CliOptions& options) {
    const int count = device.DeviceCount();
    if (!options.byName)
        return options.position < count ? static_cast<int>(options.position) : -1;
    for (int i = 0; i < count; ++i)
        if (CameraNameAt(device, i) == options.name)
            return i;
    for (int i = 0; i < count; ++i) {
        std::wstring plain;
        if (device.GetDevicePlainName(i, plain) == S_OK && plain == options.name)
            return i;
    }
    for (int i = 0; i < count; ++i)
        if (CameraPathAt(device, i) == options.name)
            return i;
    return -1;
}

namespace {

// A device path: /dev/video2 on Linux, one starting with \\?\ on Windows. No
// camera name starts so.
bool IsDevicePath(const std::wstring& value) {
    return !value.empty() && (value[0] == L'/' || value[0] == L'\\');
}

} // namespace

std::wstring CameraNotFound(const wchar_t* program, const CliOptions& options, int count) {
    std::wstring text = std::wstring(program) + L": ";
    if (options.byName && IsDevicePath(options.name))
        text += L"no camera at '" + options.name + L"'";
    else if (options.byName)
        text += L"no camera is named '" + options.name + L"'";
    else
        text += L"no camera at position " + std::to_wstring(options.position);
    text += count == 1 ? L" (there is 1 camera"
                       : L" (there are " + std::to_wstring(count) + L" cameras";
    return text + L"; vk37save --list shows them)\n";
}

std::wstring HexCode(DWORD value) {
    std::wstring text = L"0x";
    for (int shift = 28; shift >= 0; shift -= 4)
        text += L"0123456789ABCDEF"[(value >> shift) & 0xF];
    return text;
}

std::wstring DirectoryError(const wchar_t* program, const wchar_t* action,
                            const std::wstring& directory, DWORD error) {
    std::wstring reason;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        reason = L"no such directory";
        break;
    case ERROR_ACCESS_DENIED:
        reason = L"permission denied";
        break;
    case ERROR_DIRECTORY:
        reason = L"not a directory";
        break;
    default:
        reason = L"error " + std::to_wstring(error);
    }
    return std::wstring(program) + L": cannot " + action + L" '" + directory + L"': " + reason +
           L"\n";
}

int RunOnConsole(const std::vector<std::wstring>& args, CliCommandFunction command) {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const CliTerminal terminal{
        [](const std::wstring& text) { return WriteConsoleText(ConsoleStream::Output, text); },
        [](const std::wstring& text) { return WriteConsoleText(ConsoleStream::Error, text); },
    };
    const int status = command(args, terminal);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return status;
}
