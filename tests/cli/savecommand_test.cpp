// vk37save's command on fake cameras, on both systems: what each command line
// prints, which status it ends with, and that the file it saves is the very
// file the dialog's save of the same camera writes.
#include "capture/saveparameters.h"
#include "cli/options.h"
#include "cli/savecommand.h"
#include "tests/capture/fakecamera.h"
#include "tests/capture/fixture.h"

#include <cstdlib>
#include <functional>

namespace {

class SaveCommandTest : public CaptureTest {
public:
    // The cases of the table below prepare the fixture through these.
    using CaptureTest::IniPath;
    using CaptureTest::m_dir;
    using CaptureTest::m_factory;

    CFakeCamera m_first{L"Cam A", 0};
    CFakeCamera m_second{L"Cam B", 1000};
    CFakeCamera m_third{L"Cam C", 2000};
    std::wstring m_out, m_err;

protected:
    void SetUp() override {
        CaptureTest::SetUp();
        m_second.moniker.bag.devicePath = L"/dev/video9";
        m_third.moniker.bag.hasName = false;
        m_devEnum.devices = {&m_first.moniker, &m_second.moniker, &m_third.moniker};
    }

    int Run(std::vector<std::wstring> args) {
        args.insert(args.begin(), L"vk37save");
        const CliTerminal terminal{
            [this](const std::wstring& text) { return m_out += text, true; },
            [this](const std::wstring& text) { return m_err += text, true; },
        };
        return RunSaveCommand(args, terminal);
    }

    // The bytes the dialog's save of the camera at position writes into an
    // empty directory: a fresh enumeration, then SaveParameters by the
    // camera's id, as the save button does.
    std::string DialogFile(int position) {
        const std::filesystem::path dir = m_dir / "dialog";
        std::filesystem::create_directory(dir);
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(dir);
        {
            CCaptureDevice device;
            device.EnumerateDevices();
            std::wstring id;
            EXPECT_EQ(device.GetDeviceId(position, id), S_OK);
            SaveParameters(device, position, id);
        }
        std::filesystem::current_path(previous);
        const std::string bytes = FileBytes(dir / "VK37.INI");
        std::filesystem::remove_all(dir);
        return bytes;
    }
};

struct CommandCase {
    const char* label;
    std::vector<std::wstring> args;
    int status;
    int savedCamera;      // the file must equal the dialog's save of it; -1: no file
    std::wstring out;     // standard output, exactly
    std::wstring errPart; // a part of standard error; empty: nothing there
    std::function<void(SaveCommandTest&)> prepare = nullptr;
    const char* directory = ""; // where the file is looked for, under the test's directory
};

const std::wstring kSavedLine = L"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。\n";
const std::wstring kFailedLine = L"VK37摄像头参数保存失败。\n 无法写入'VK37.ini'文件。\n";

TEST_F(SaveCommandTest, EachCommandLineEndsWithItsStatusOutputAndFile) {
    // Two cameras of one name, listed with their bus info as on Linux.
    auto namesakes = [](SaveCommandTest& t) {
        t.m_second.moniker.bag.name = L"Cam (usb-2)";
        t.m_third.moniker.bag.name = L"Cam (usb-3)";
        t.m_second.moniker.bag.plainName = t.m_third.moniker.bag.plainName = L"Cam";
        t.m_third.moniker.bag.hasName = true;
    };
    const CommandCase cases[] = {
        {"default is camera 0", {}, 0, 0, kSavedLine, L""},
        {"position, quiet", {L"--device", L"1", L"-q"}, 0, 1, L"", L""},
        {"by name", {L"-d", L"Cam B"}, 0, 1, kSavedLine, L""},
        {"by device path", {L"--device=/dev/video9"}, 0, 1, kSavedLine, L""},
        {"by the unknown-name label", {L"-d", L"(未知设备)"}, 0, 2, kSavedLine, L""},
        // clang-format off
        {"by the name the system reports: the first namesake", {L"-d", L"Cam"}, 0, 1, kSavedLine,
         L"", namesakes},
        {"by the name as listed, suffix and all", {L"-d", L"Cam (usb-3)"}, 0, 2, kSavedLine, L"",
         namesakes},
        // clang-format on
        {"into another directory",
         {L"-C", L"sub"},
         0,
         0,
         kSavedLine,
         L"",
         [](SaveCommandTest& t) { std::filesystem::create_directory(t.m_dir / "sub"); },
         "sub"},
        {"without camera control: file, no message",
         {},
         0,
         0,
         L"",
         L"",
         [](SaveCommandTest& t) { t.m_first.filter.cameraControl = nullptr; }},
        {"file cannot be written",
         {L"--quiet"},
         1,
         -1,
         L"",
         kFailedLine,
         [](SaveCommandTest& t) { std::filesystem::create_directory(t.IniPath()); }},
        {"directory missing", {L"-C", L"missing"}, 1, -1, L"", L"cannot write into 'missing'"},
        {"position past the list",
         {L"-d", L"3"},
         2,
         -1,
         L"",
         L"no camera at position 3 (there are 3 cameras"},
        {"huge position", {L"-d", L"99999999999999999999999"}, 2, -1, L"", L"no camera at"},
        {"unknown name", {L"--device", L"Cam D"}, 2, -1, L"", L"no camera is named 'Cam D'"},
        {"no such node", {L"-d", L"/dev/video7"}, 2, -1, L"", L"no camera at '/dev/video7'"},
        {"camera cannot be opened",
         {L"-d", L"1"},
         2,
         -1,
         L"",
         L"VK37摄像头参数未保存。\n 无法打开所选摄像头。\n",
         [](SaveCommandTest& t) { t.m_second.moniker.bindResult = E_ACCESSDENIED; }},
        {"enumerator fails",
         {L"--list"},
         2,
         -1,
         L"",
         L"the cameras cannot be listed",
         [](SaveCommandTest& t) { t.m_factory.createResult = E_OUTOFMEMORY; }},
        {"list with device",
         {L"--list", L"-d", L"1"},
         64,
         -1,
         L"",
         L"--list and --device cannot be used together\nTry 'vk37save --help'"},
        {"missing value", {L"--device"}, 64, -1, L"", L"option '--device' needs a value"},
        {"stray argument", {L"stray"}, 64, -1, L"", L"unexpected argument 'stray'"},
        {"value for a flag", {L"--quiet=yes"}, 64, -1, L"", L"option '--quiet' takes no value"},
        {"version", {L"--version"}, 0, -1, L"vk37save 1.0.0.1\n", L""},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.label);
        if (c.prepare)
            c.prepare(*this);
        const std::string expected = c.savedCamera >= 0 ? DialogFile(c.savedCamera) : "";
        m_out.clear();
        m_err.clear();

        EXPECT_EQ(Run(c.args), c.status);
        EXPECT_EQ(m_out, c.out);
        if (c.errPart.empty())
            EXPECT_EQ(m_err, L"");
        else
            EXPECT_NE(m_err.find(c.errPart), std::wstring::npos) << "stderr: " << m_err.size();

        const std::filesystem::path file = m_dir / c.directory / "VK37.INI";
        if (c.savedCamera >= 0) {
            EXPECT_FALSE(expected.empty());
            EXPECT_EQ(FileBytes(file), expected);
        } else {
            EXPECT_FALSE(std::filesystem::is_regular_file(file));
        }

        std::error_code ec;
        std::filesystem::current_path(m_dir);
        std::filesystem::remove_all(file, ec);
        m_first.filter.cameraControl = &m_first.camera;
        m_second.moniker.bindResult = S_OK;
        m_factory.createResult = S_OK;
        m_second.moniker.bag.name = L"Cam B";
        m_third.moniker.bag.name = L"Cam C";
        m_second.moniker.bag.plainName = m_third.moniker.bag.plainName = L"";
        m_third.moniker.bag.hasName = false;
    }
}

// One line per camera in the system's order: position, the name the dialog
// shows, and the device path, or the moniker's display name without one.
TEST_F(SaveCommandTest, ListShowsPositionNameAndPathAndWritesNothing) {
    EXPECT_EQ(Run({L"--list", L"-C", L"missing"}), 0);
    EXPECT_EQ(m_out, L"0\tCam A\t@fake\\Cam A\n"
                     L"1\tCam B\t/dev/video9\n"
                     L"2\t(未知设备)\t@fake\\Cam C\n");
    EXPECT_EQ(m_err, L"");
    EXPECT_FALSE(IniExists());
    EXPECT_TRUE(m_messages.empty());
}

// The one way the command's text can be lost: the listing's stream refuses it.
TEST_F(SaveCommandTest, AListThatCannotBeWrittenIsAFailure) {
    std::wstring err;
    const CliTerminal full{[](const std::wstring&) { return false; },
                           [&err](const std::wstring& text) { return err += text, true; }};
    EXPECT_EQ(RunSaveCommand({L"vk37save", L"--list"}, full), 1);
    EXPECT_NE(err.find(L"could not be written"), std::wstring::npos);
}

#ifndef _WIN32
// The save's messages follow the locale (Windows': tested under Wine).
TEST_F(SaveCommandTest, BoxTextsFollowTheLocale) {
    setenv("LC_ALL", "en_US.UTF-8", 1);
    EXPECT_EQ(Run({}), 0);
    setenv("LC_ALL", "C.UTF-8", 1); // as the tests run
    EXPECT_EQ(m_out,
              L"VK37 camera parameters saved.\n See the file 'VK37.ini' for their values.\n");
}
#endif

struct ParseCase {
    std::vector<std::wstring> args;
    bool ok;
    CliCommand command = CliCommand::Run;
    bool byName = false;
    long long position = 0;
    std::wstring name = L"", directory = L"";
    bool quiet = false;
};

TEST(CliOptions, UsualFormsOfOptionsAndValues) {
    using C = CliCommand;
    const ParseCase cases[] = {
        {{}, true, C::Run, false, 0, L"", L"", false},
        {{L"-C", L"d"}, true, C::Run, false, 0, L"", L"d", false},
        {{L"-Cd"}, true, C::Run, false, 0, L"", L"d", false},
        {{L"--directory=d=e"}, true, C::Run, false, 0, L"", L"d=e", false},
        {{L"-d1", L"-d", L"0012"}, true, C::Run, false, 12, L"", L"", false},
        {{L"--device", L"-1"}, true, C::Run, true, 0, L"-1", L"", false},
        {{L"--device=1x"}, true, C::Run, true, 0, L"1x", L"", false},
        {{L"-q", L"-l"}, true, C::List, false, 0, L"", L"", true},
        {{L"--list", L"--help"}, true, C::Help, false, 0, L"", L"", false},
        {{L"-d", L"x", L"-V"}, true, C::Version, true, 0, L"x", L"", false},
        {{L"--", L"x"}, false},
        {{L"-"}, false},
        {{L"--device="}, false},
        {{L"-C"}, false},
        {{L"-lq"}, false},
        {{L"--devic", L"1"}, false},
        {{L"-x"}, false},
    };
    for (const ParseCase& c : cases) {
        std::vector<std::wstring> args = c.args;
        args.insert(args.begin(), L"vk37save");
        std::wstring text;
        for (const std::wstring& a : c.args)
            text += a + L" ";
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        CliOptions options;
        std::wstring error;
        ASSERT_EQ(ParseCliOptions(args, options, error), c.ok);
        if (!c.ok) {
            EXPECT_FALSE(error.empty());
            continue;
        }
        EXPECT_EQ(options.command, c.command);
        EXPECT_EQ(options.byName, c.byName);
        EXPECT_EQ(options.position, c.position);
        EXPECT_EQ(options.name, c.name);
        EXPECT_EQ(options.directory, c.directory);
        EXPECT_EQ(options.quiet, c.quiet);
    }
}

} // namespace
