// The listing and the save behind vk37save.
#include "cli/savecommand.h"

#include "capture/saveparameters.h"
#include "cli/options.h"
#include "platform/console.h"
#include "platform/framework.h"
#include "platform/msgbox_hook.h"
#include "platform/versioninfo.h"

#include <string>

namespace {

constexpr const wchar_t* kName = L"vk37save";
constexpr const wchar_t* kProgram = L"vk37save: ";

// For the duration of a save, the save's message boxes are lines on the
// terminal: errors and warnings on the error stream, anything else (the
// completion message) on the output unless asked to be quiet.
class CTerminalMessages {
public:
    CTerminalMessages(const CliTerminal& terminal, bool quiet) {
        m_previous = SetMessageBoxHandler([this, &terminal, quiet](LPCWSTR text, UINT type, UINT) {
            const UINT icon = type & MB_ICONMASK;
            const std::wstring line = std::wstring(text != nullptr ? text : L"") + L"\n";
            if (icon == MB_ICONERROR || icon == MB_ICONWARNING) {
                m_errorShown = true;
                terminal.err(line);
            } else if (!quiet) {
                terminal.out(line);
            }
            return IDOK;
        });
    }
    ~CTerminalMessages() { SetMessageBoxHandler(m_previous); }
    CTerminalMessages(const CTerminalMessages&) = delete;
    CTerminalMessages& operator=(const CTerminalMessages&) = delete;

    bool ErrorShown() const { return m_errorShown; }

private:
    MessageBoxHandler m_previous;
    bool m_errorShown = false;
};

// One listing line is one camera: tabs and line breaks inside a field
// become spaces.
std::wstring Field(std::wstring text) {
    for (wchar_t& c : text)
        if (c < L' ')
            c = L' ';
    return text;
}

int ListCameras(const CCaptureDevice& device, const CliTerminal& terminal) {
    std::wstring text;
    for (int i = 0; i < device.DeviceCount(); ++i)
        text += std::to_wstring(i) + L"\t" + Field(CameraNameAt(device, i)) + L"\t" +
                Field(CameraPathAt(device, i)) + L"\n";
    if (!terminal.out(text)) {
        terminal.err(std::wstring(kProgram) + L"the list could not be written\n");
        return kExitWriteFailed;
    }
    return kExitSaved;
}

int SaveCamera(CCaptureDevice& device, const CliOptions& options, const CliTerminal& terminal) {
    const int position = ChooseCamera(device, options);
    if (position < 0) {
        terminal.err(CameraNotFound(kName, options, device.DeviceCount()));
        return kExitNoCamera;
    }
    const std::wstring name = CameraNameAt(device, position);
    std::wstring id;
    device.GetDeviceId(position, id);

    CTerminalMessages messages(terminal, options.quiet);
    if (SaveParameters(device, position, id) == SaveOutcome::DeviceGone) {
        terminal.err(std::wstring(kProgram) + L"'" + name +
                     L"' left the system before it was saved; nothing was written\n");
        return kExitNoCamera;
    }
    // The holder keeps the amplifier interface of the camera it saved; without
    // one the camera was never opened, nothing reached the file, and the
    // save's error message said so.
    if (!device.ProcAmpSlot())
        return kExitNoCamera;
    if (messages.ErrorShown())
        return kExitWriteFailed;
    return kExitSaved;
}

} // namespace

int RunSaveCommand(const std::vector<std::wstring>& args, const CliTerminal& terminal) {
    CliOptions options;
    std::wstring error;
    if (!ParseCliOptions(args, options, error)) {
        terminal.err(std::wstring(kProgram) + error +
                     L"\nTry 'vk37save --help' for more information.\n");
        return kExitUsage;
    }
    if (options.command == CliCommand::Help)
        return terminal.out(CliHelpText()) ? kExitSaved : kExitWriteFailed;
    if (options.command == CliCommand::Version) {
        std::wstring version;
        if (!ReadVersionString(L"ProductVersion", version))
            version = L"(no version record)";
        return terminal.out(L"vk37save " + version + L"\n") ? kExitSaved : kExitWriteFailed;
    }

    if (options.command == CliCommand::Run && !options.directory.empty() &&
        !SetCurrentDirectoryW(options.directory.c_str())) {
        terminal.err(DirectoryError(kName, L"write into", options.directory, GetLastError()));
        return kExitWriteFailed;
    }

    CCaptureDevice device;
    device.ClearDevices();
    const HRESULT hr = device.EnumerateDevices();
    if (FAILED(hr)) {
        terminal.err(std::wstring(kProgram) + L"the cameras cannot be listed (" +
                     HexCode(static_cast<DWORD>(hr)) + L")\n");
        return kExitNoCamera;
    }
    if (options.command == CliCommand::List)
        return ListCameras(device, terminal);
    return SaveCamera(device, options, terminal);
}
