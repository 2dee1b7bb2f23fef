// The restore behind vk37load and its report: one line per property on
// standard output, problems on standard error.
#include "cli/loadcommand.h"

#include "capture/paramfile.h"
#include "capture/restoreparameters.h"
#include "platform/console.h"
#include "platform/versioninfo.h"

namespace {

constexpr const wchar_t* kName = L"vk37load";
constexpr const wchar_t* kProgram = L"vk37load: ";

std::wstring Number(LONG value) {
    return std::to_wstring(value);
}

// "12 (manual)" or "automatic".
std::wstring Setting(LONG value, LONG flags) {
    if (flags & VideoProcAmp_Flags_Auto)
        return L"automatic";
    return Number(value) + L" (manual)";
}

std::wstring Range(const PropertyReading& r) {
    return Number(r.lMin) + L".." + Number(r.lMax) + L" step " + Number(r.lSteppingDelta);
}

// The profile call wants a directory in the path: a bare name would be looked
// up in the Windows directory there.
std::wstring FilePath(const CliOptions& options) {
    if (options.file.empty())
        return paramfile::kPath;
    if (options.file.find_first_of(L"\\/") == std::wstring::npos &&
        options.file.find(L':') == std::wstring::npos)
        return L".\\" + options.file;
    return options.file;
}

std::wstring FileName(const CliOptions& options) {
    return options.file.empty() ? std::wstring(L"VK37.INI") : options.file;
}

class CReport {
public:
    CReport(const CliTerminal& terminal, const CliOptions& options)
        : m_terminal(terminal), m_quiet(options.quiet), m_defaults(options.defaults) {}

    void Out(const std::wstring& line) {
        if (!m_quiet)
            m_terminal.out(line + L"\n");
    }
    void Err(const std::wstring& line) { m_terminal.err(kProgram + line + L"\n"); }
    // A message that already names the program and ends its line.
    void ErrText(const std::wstring& text) { m_terminal.err(text); }

    // One property's line; true when it needs attention.
    bool Property(const PropertyResult& r) {
        const FileProperty& file = *r.file;
        const std::wstring section = std::wstring(file.row.section) + L": ";
        const std::wstring wanted =
            r.wantAuto ? L"automatic" : Setting(file.reading.lValue, VideoProcAmp_Flags_Manual);
        const std::wstring code = L" (" + HexCode(static_cast<DWORD>(r.hr)) + L")";
        switch (r.outcome) {
        case PropertyOutcome::InPlace:
            Out(section + L"already " + wanted);
            break;
        case PropertyOutcome::Written:
            Out(section + L"set to " + wanted);
            break;
        case PropertyOutcome::Differs:
            Out(section + (m_defaults ? L"default " : L"file ") + wanted + L", camera " +
                Setting(r.value, r.flags));
            break;
        case PropertyOutcome::SkippedEmpty:
            Out(section + (m_defaults ? L"skipped: the camera reports no default"
                                      : L"skipped: the file holds no values"));
            break;
        case PropertyOutcome::SkippedAbsent:
            Out(section + L"skipped: not in the file");
            break;
        case PropertyOutcome::BadNumber:
            Err(section + file.badKey + L" is not a 32-bit number ('" + file.badText +
                L"'); not written");
            break;
        case PropertyOutcome::OutOfRange:
            Err(section + L"the file's value " + Number(file.reading.lValue) +
                L" lies outside its range " + Range(file.reading) + L"; not written");
            break;
        case PropertyOutcome::RangeDiffers:
            Err(section + L"the camera's range " + Range(r.range) + L" differs from the file's " +
                Range(file.reading) + L"; not written");
            break;
        case PropertyOutcome::NotOnCamera:
            Err(section + L"the camera does not report this property" + code + L"; not written");
            break;
        case PropertyOutcome::Refused:
            Err(section + L"the camera refused " + wanted + code);
            break;
        case PropertyOutcome::NotTaken:
            Err(section + L"written, but the camera reads " + Setting(r.value, r.flags) +
                L", not " + wanted);
            break;
        case PropertyOutcome::DeviceGone:
            break;
        }
        return IsShortfall(r.outcome);
    }

private:
    const CliTerminal& m_terminal;
    bool m_quiet;
    bool m_defaults; // the targets are the camera's defaults, not a file's
};

// The camera --device names, else the one at the file's PORT.
int CameraFor(const CCaptureDevice& device, const CliOptions& options, const ParameterFile& file,
              CReport& report) {
    if (options.deviceGiven) {
        const int position = ChooseCamera(device, options);
        if (position < 0)
            report.ErrText(CameraNotFound(kName, options, device.DeviceCount()));
        return position;
    }
    CliOptions byPort = options;
    if (file.port == ParameterFile::Port::BadNumber) {
        report.Err(L"[SYSTEM] PORT is not a number ('" + file.portText +
                   L"'); choose the camera with --device");
        return -1;
    }
    byPort.position = file.port == ParameterFile::Port::Number ? file.portValue : 0;
    if (byPort.position < 0) {
        report.Err(L"[SYSTEM] PORT is negative; choose the camera with --device");
        return -1;
    }
    const int position = ChooseCamera(device, byPort);
    if (position < 0)
        report.ErrText(CameraNotFound(kName, byPort, device.DeviceCount()));
    return position;
}

int Restore(const CliOptions& options, const CliTerminal& terminal) {
    CReport report(terminal, options);
    if (!options.directory.empty() && !SetCurrentDirectoryW(options.directory.c_str())) {
        report.ErrText(DirectoryError(kName, L"read in", options.directory, GetLastError()));
        return kLoadExitBadFile;
    }
    ParameterFile file;
    if (!options.defaults)
        ReadParameterFile(FilePath(options).c_str(), &file);
    if (!options.defaults && !file.IsParameterFile()) {
        // Windows' reader reports a key it did not find as a file not found,
        // so only a refused read tells more than the file's content does.
        const wchar_t* why =
            file.readError == ERROR_ACCESS_DENIED
                ? L"it cannot be read"
                : L"it is missing, or has no [SYSTEM] PORT and no property section";
        report.Err(L"nothing to restore from '" + FileName(options) + L"': " + why);
        return kLoadExitBadFile;
    }

    CCaptureDevice device;
    device.ClearDevices();
    const HRESULT hr = device.EnumerateDevices();
    if (FAILED(hr)) {
        report.Err(L"the cameras cannot be listed (" + HexCode(static_cast<DWORD>(hr)) + L")");
        return kLoadExitNoCamera;
    }
    const int position = CameraFor(device, options, file, report);
    if (position < 0)
        return kLoadExitNoCamera;
    const std::wstring name = CameraNameAt(device, position);
    report.Out(L"camera " + std::to_wstring(position) + L": " + name + L" (" +
               CameraPathAt(device, position) + L")");

    std::vector<PropertyResult> results;
    // The defaults' targets: what the results point into.
    ParameterFile defaults;
    const RestoreOutcome outcome =
        options.defaults ? RestoreDefaults(device, position, options.check, &defaults, &results)
                         : RestoreParameters(device, position, file, options.check, &results);
    if (outcome == RestoreOutcome::NotOpened) {
        report.Err(L"'" + name + L"' could not be opened; nothing was changed");
        return kLoadExitNoCamera;
    }
    bool shortfall = false;
    std::wstring written;
    for (const PropertyResult& result : results) {
        shortfall = report.Property(result) || shortfall;
        if (result.outcome == PropertyOutcome::Written)
            written += std::wstring(written.empty() ? L"" : L", ") + result.file->row.section;
    }
    if (outcome == RestoreOutcome::DeviceGone) {
        report.Err(L"'" + name + L"' left the system at " + results.back().file->row.section +
                   L"; written before that: " + (written.empty() ? L"nothing" : written));
        return kLoadExitNoCamera;
    }
    return shortfall ? kLoadExitShortfall : kLoadExitHeld;
}

} // namespace

int RunLoadCommand(const std::vector<std::wstring>& args, const CliTerminal& terminal) {
    CliOptions options;
    std::wstring error;
    if (!ParseCliOptions(args, options, error, CliProgram::Load)) {
        terminal.err(std::wstring(kProgram) + error +
                     L"\nTry 'vk37load --help' for more information.\n");
        return kLoadExitUsage;
    }
    if (options.command == CliCommand::Help)
        return terminal.out(CliHelpText(CliProgram::Load)) ? kLoadExitHeld : kLoadExitBadFile;
    if (options.command == CliCommand::Version) {
        std::wstring version;
        if (!ReadVersionString(L"ProductVersion", version))
            version = L"(no version record)";
        return terminal.out(L"vk37load " + version + L"\n") ? kLoadExitHeld : kLoadExitBadFile;
    }
    return Restore(options, terminal);
}
