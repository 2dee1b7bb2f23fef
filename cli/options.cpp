// Argument parsing for vk37save and vk37load, in the usual forms of Linux tools: short
// options with the value attached or following ("-C DIR", "-CDIR"), long
// options with "=" or a following value, and "--" before no more options.
#include "cli/options.h"

namespace {

enum : unsigned { kSave = 1, kLoad = 2, kBoth = kSave | kLoad };

// The key of an option without a short form; no argument's second character.
constexpr wchar_t kDefaultsKey = L'\0';

struct OptionForm {
    const wchar_t* longName;
    wchar_t shortName;
    bool takesValue;
    unsigned programs; // which programs know the option
};

const OptionForm kOptions[] = {
    {L"list", L'l', false, kSave},
    {L"device", L'd', true, kBoth},
    {L"directory", L'C', true, kBoth},
    {L"file", L'f', true, kLoad},
    {L"check", L'c', false, kLoad},
    {L"quiet", L'q', false, kBoth},
    {L"help", L'h', false, kBoth},
    {L"version", L'V', false, kBoth},
    // Long form only: a short one would be too easy to type by mistake.
    {L"defaults", kDefaultsKey, false, kLoad},
};

unsigned Bit(CliProgram program) {
    return program == CliProgram::Save ? kSave : kLoad;
}

const OptionForm* FindLong(const std::wstring& name, CliProgram program) {
    for (const OptionForm& form : kOptions)
        if (name == form.longName && (form.programs & Bit(program)))
            return &form;
    return nullptr;
}

const OptionForm* FindShort(wchar_t name, CliProgram program) {
    for (const OptionForm& form : kOptions)
        if (name == form.shortName && (form.programs & Bit(program)))
            return &form;
    return nullptr;
}

// A position is written in decimal digits only; anything else is a name.
// Positions past any real list are kept as "too large" rather than wrapped.
bool ParsePosition(const std::wstring& text, long long& position) {
    if (text.empty())
        return false;
    long long value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return false;
        value = value > 1000000000LL ? value : value * 10 + (c - L'0');
    }
    position = value;
    return true;
}

class CParser {
public:
    CParser(CliOptions& options, std::wstring& error) : m_options(options), m_error(error) {}

    bool Apply(const OptionForm& form, const std::wstring& value) {
        switch (form.shortName) {
        case L'l':
            m_list = true;
            return true;
        case L'd':
            if (value.empty())
                return Fail(L"--device needs a position or a camera name");
            m_device = true;
            m_options.deviceGiven = true;
            m_options.byName = !ParsePosition(value, m_options.position);
            m_options.name = m_options.byName ? value : std::wstring();
            return true;
        case L'C':
            if (value.empty())
                return Fail(L"-C needs a directory");
            m_options.directory = value;
            return true;
        case L'f':
            if (value.empty())
                return Fail(L"--file needs a file name");
            m_options.file = value;
            return true;
        case L'c':
            m_options.check = true;
            return true;
        case kDefaultsKey:
            m_options.defaults = true;
            return true;
        case L'q':
            m_options.quiet = true;
            return true;
        case L'h':
            m_help = true;
            return true;
        default:
            m_version = true;
            return true;
        }
    }

    bool Finish() {
        if (m_list && m_device)
            return Fail(L"--list and --device cannot be used together");
        if (m_options.defaults && (!m_options.file.empty() || !m_options.directory.empty()))
            return Fail(L"--defaults reads no file: it cannot be used with --file or -C");
        m_options.command = m_help      ? CliCommand::Help
                            : m_version ? CliCommand::Version
                            : m_list    ? CliCommand::List
                                        : CliCommand::Run;
        return true;
    }

    bool Fail(const std::wstring& message) {
        m_error = message;
        return false;
    }

private:
    CliOptions& m_options;
    std::wstring& m_error;
    bool m_list = false, m_device = false, m_help = false, m_version = false;
};

} // namespace

bool ParseCliOptions(const std::vector<std::wstring>& args, CliOptions& options,
                     std::wstring& error, CliProgram program) {
    options = CliOptions();
    CParser parser(options, error);
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        if (arg == L"--") {
            if (i + 1 < args.size())
                return parser.Fail(L"unexpected argument '" + args[i + 1] + L"'");
            break;
        }
        const OptionForm* form = nullptr;
        std::wstring value;
        bool hasValue = false;
        std::wstring shown = arg;
        if (arg.compare(0, 2, L"--") == 0) {
            const size_t equals = arg.find(L'=');
            shown = arg.substr(0, equals);
            form = FindLong(arg.substr(2, equals == std::wstring::npos ? equals : equals - 2),
                            program);
            if (form != nullptr && equals != std::wstring::npos) {
                if (!form->takesValue)
                    return parser.Fail(L"option '" + shown + L"' takes no value");
                value = arg.substr(equals + 1);
                hasValue = true;
            }
        } else if (arg.size() >= 2 && arg[0] == L'-') {
            shown = arg.substr(0, 2);
            form = FindShort(arg[1], program);
            if (form != nullptr && arg.size() > 2) {
                if (!form->takesValue)
                    return parser.Fail(L"option '" + shown + L"' takes no value");
                value = arg.substr(2);
                hasValue = true;
            }
        } else {
            return parser.Fail(L"unexpected argument '" + arg + L"'");
        }
        if (form == nullptr)
            return parser.Fail(L"unknown option '" + shown + L"'");
        if (form->takesValue && !hasValue) {
            if (i + 1 >= args.size())
                return parser.Fail(L"option '" + shown + L"' needs a value");
            value = args[++i];
        }
        if (!parser.Apply(*form, value))
            return false;
    }
    return parser.Finish();
}

const wchar_t* CliHelpText(CliProgram program) {
    if (program == CliProgram::Load)
        return L"Usage: vk37load [--device N|NAME|PATH] [[-C DIR] [--file FILE] | --defaults]\n"
               L"                [--check] [--quiet]\n"
               L"Gives a video capture camera the settings VK37.INI holds: for each property\n"
               L"its value, or its automatic mode. A property whose range differs from the\n"
               L"file's is left alone; a value already in place is not written again.\n"
               L"\n"
               L"  -d, --device N|NAME|PATH  the camera at position N of the list, or the first\n"
               L"                         camera named NAME, or else the one whose device path\n"
               L"                         is PATH (default: the camera at the file's PORT)\n"
               L"  -C, --directory DIR    read VK37.INI in DIR, not in the current directory\n"
               L"  -f, --file FILE        read FILE instead of VK37.INI; with -C, a relative\n"
               L"                         FILE is read in DIR\n"
               L"      --defaults         give the camera its own defaults instead of a file's\n"
               L"                         settings (on Windows each property keeps its mode)\n"
               L"  -c, --check            write nothing; print each property that differs\n"
               L"  -q, --quiet            print only problems\n"
               L"  -h, --help             show this help and exit\n"
               L"  -V, --version          show the version and exit\n"
               L"\n"
               L"Exit status:\n"
               L"  0   the camera holds every value of the file, or with --defaults every\n"
               L"      default (with --check: already)\n"
               L"  1   the file is missing, unreadable or not a parameter file\n"
               L"  2   no such camera, or it could not be opened or left part-way\n"
               L"  3   some properties were not applied (or, with --check, differ)\n"
               L"  64  the command line was wrong\n";
    return L"Usage: vk37save [--device N|NAME|PATH] [-C DIR] [--quiet]\n"
           L"       vk37save --list\n"
           L"Saves the image settings of a video capture camera into VK37.INI, as the\n"
           L"VK37Set dialog's save button does, without a window.\n"
           L"\n"
           L"  -l, --list             list the cameras, one per line: position, name and\n"
           L"                         device path, separated by tabs\n"
           L"  -d, --device N|NAME|PATH  save the camera at position N of the list (default\n"
           L"                         0), or the first camera named NAME, or else the one\n"
           L"                         whose device path is PATH\n"
           L"  -C, --directory DIR    write VK37.INI in DIR, not in the current directory\n"
           L"  -q, --quiet            do not print the completion message\n"
           L"  -h, --help             show this help and exit\n"
           L"  -V, --version          show the version and exit\n"
           L"\n"
           L"Exit status:\n"
           L"  0   saved (or listed)\n"
           L"  1   VK37.INI could not be written; what the file held is kept\n"
           L"  2   no such camera, or it could not be opened; nothing was written\n"
           L"  64  the command line was wrong\n";
}
