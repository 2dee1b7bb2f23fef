// vk37load's command on fake cameras, on both systems: for each command line,
// its status, what it prints and which Set calls reach which camera. The file
// it restores from is what vk37save wrote.
#include "cli/loadcommand.h"
#include "cli/savecommand.h"
#include "tests/capture/fakecamera.h"
#include "tests/capture/fixture.h"

#include <fstream>
#include <functional>

namespace {

using ::testing::_, ::testing::Return;

class LoadCommandTest : public CaptureTest {
public:
    using CaptureTest::m_dir;
    CFakeCamera m_first{L"Cam A", 0};
    CFakeCamera m_second{L"Cam B", 1000};
    std::string m_writes; // both cameras'; the cameras' values differ
    std::wstring m_out, m_err;

protected:
    void SetUp() override {
        CaptureTest::SetUp();
        m_devEnum.devices = {&m_first.moniker, &m_second.moniker};
        for (CFakeCamera* camera : {&m_first, &m_second})
            fakes::AcceptWrites(camera->procAmp, camera->procAmpProps, &m_writes);
    }

    int Run(int (*command)(const std::vector<std::wstring>&, const CliTerminal&),
            std::vector<std::wstring> args) {
        args.insert(args.begin(), L"vk37");
        m_out.clear();
        m_err.clear();
        const CliTerminal terminal{
            [this](const std::wstring& text) { return m_out += text, true; },
            [this](const std::wstring& text) { return m_err += text, true; },
        };
        return command(args, terminal);
    }
};

struct LoadCase {
    const char* label;
    std::vector<std::wstring> args;
    int status;
    std::wstring out, err; // parts of standard output and error; empty: nothing there
    std::string sets = ""; // "P:V:F" per Set call, both cameras
    std::function<void(LoadCommandTest&)> prepare = nullptr;
    int savedCamera = 0; // the camera vk37save saved first; -1: no file
};

TEST_F(LoadCommandTest, EachCommandLineEndsWithItsStatusOutputAndWrites) {
    auto moved = [](LoadCommandTest& t) { t.m_first.procAmpProps[0].value = 61; };
    // clang-format off
    const LoadCase cases[] = {
        {"the saved file: nothing to write", {}, 0,
         L"camera 0: Cam A (@fake\\Cam A)\nBRIGHTNESS: already 60 (manual)\n", L""},
        {"a changed value goes back", {}, 0, L"BRIGHTNESS: set to 60 (manual)", L"", "0:60:2",
         moved},
        {"--check finds it and writes nothing", {L"--check"}, 3,
         L"BRIGHTNESS: file 60 (manual), camera 61 (manual)", L"", "", moved},
        {"PORT chooses the camera", {L"-q"}, 0, L"", L"", "1:1061:2",
         [](LoadCommandTest& t) { t.m_second.procAmpProps[1].value = 1000; }, 1},
        {"another camera's ranges are not written", {L"--device", L"Cam B"}, 3, L"camera 1: Cam B",
         L"vk37load: BRIGHTNESS: the camera's range 1000..1100 step 1 differs from the file's "
         L"0..100 step 1; not written"},
        {"no file", {}, 1, L"", L"nothing to restore from 'VK37.INI'", "", nullptr, -1},
        {"--file: neither a PORT nor a property section", {L"--file", L"o.ini"}, 1, L"",
         L"nothing to restore from 'o.ini'", "",
         [](LoadCommandTest& t) { std::ofstream(t.m_dir / "o.ini") << "[OTHER]\nV_LVALUE=1\n"; }},
        {"names match without regard to case", {L"-f", L"o.ini"}, 0, L"camera 1: Cam B", L"", "",
         [](LoadCommandTest& t) { std::ofstream(t.m_dir / "o.ini") << "[system]\n port = 1\n"; }},
        {"a PORT that is not a number", {L"-f", L"o.ini"}, 2, L"", L"PORT is not a number ('x')",
         "", [](LoadCommandTest& t) { std::ofstream(t.m_dir / "o.ini") << "[SYSTEM]\nPORT=x\n"; }},
        {"no such camera", {L"-d", L"2"}, 2, L"", L"no camera at position 2 (there are 2"},
        {"the camera cannot be opened", {}, 2, L"camera 0: Cam A",
         L"'Cam A' could not be opened; nothing was changed", "",
         [](LoadCommandTest& t) { t.m_first.moniker.bindResult = E_ACCESSDENIED; }},
        {"vk37save's --list is not vk37load's", {L"--list"}, 64, L"",
         L"unknown option '--list'\nTry 'vk37load --help'"},
        {"version", {L"-V"}, 0, L"vk37load 1.0.0.1\n", L""},
        {"--defaults: no file needed, manual values go to their defaults", {L"--defaults"}, 0,
         L"BRIGHTNESS: set to 50 (manual)\nCONTRAST: set to 51 (manual)", L"",
         "0:50:2 1:51:2 2:52:2 3:53:2 4:54:2 6:56:2 7:57:2", nullptr, -1},
        {"--defaults --check compares with the defaults", {L"--defaults", L"-c", L"-d", L"1"}, 3,
         L"camera 1: Cam B (@fake\\Cam B)\nBRIGHTNESS: default 1050 (manual), camera 1060 (manual)",
         L"", "", nullptr, -1},
        {"--defaults reads no file", {L"--defaults", L"--file", L"o.ini"}, 64, L"",
         L"--defaults reads no file: it cannot be used with --file or -C", "", nullptr, -1},
        // Last: the camera's answers stay changed.
        {"the camera leaves part-way", {}, 2, L"BRIGHTNESS: already",
         L"'Cam A' left the system at CONTRAST; written before that: nothing", "",
         [](LoadCommandTest& t) {
             ON_CALL(t.m_first.procAmp, GetRange(VideoProcAmp_Contrast, _, _, _, _, _))
                 .WillByDefault(Return(HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED)));
         }},
    };
    // clang-format on
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.label);
        std::filesystem::remove(IniPath());
        if (c.savedCamera >= 0) {
            ASSERT_EQ(Run(RunSaveCommand, {L"-q", L"-d", std::to_wstring(c.savedCamera)}), 0);
        }
        if (c.prepare)
            c.prepare(*this);
        m_writes.clear();

        EXPECT_EQ(Run(RunLoadCommand, c.args), c.status);
        for (const auto& [text, part] : {std::pair{m_out, c.out}, std::pair{m_err, c.err}})
            if (part.empty())
                EXPECT_EQ(text, L"");
            else
                EXPECT_NE(text.find(part), std::wstring::npos) << "output: " << text.size();
        EXPECT_EQ(m_writes, c.sets);

        std::filesystem::current_path(m_dir);
        m_first.moniker.bindResult = S_OK;
        m_first.procAmpProps = CFakeCamera(L"Cam A", 0).procAmpProps;
        m_second.procAmpProps = CFakeCamera(L"Cam B", 1000).procAmpProps;
    }
}

} // namespace
