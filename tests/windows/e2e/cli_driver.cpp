// Runs vk37save.exe and vk37load.exe under Wine against the fake cameras, as
// a script on a Windows machine would: their standard streams redirected to
// files, their exit status, the VK37.INI vk37save writes, which must be the
// very file the dialog's save writes for the same camera (the driver of the
// dialog checks the dialog against the same expected bytes), and the Set
// calls, with their flags, that vk37load makes on the cameras.
// Usage: vk37_cli_driver <vk37save.exe> <vk37load.exe> [GoogleTest options]
#include "tests/windows/e2e/session.h"
#include "tests/windows/fakecamera/expected.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

std::wstring g_program;
std::wstring g_loadProgram;

const std::string kSavedLines =
    u8"VK37摄像头参数保存完毕。\r\n 请参阅'VK37.ini'文件中的参数值。\r\n";
const std::string kFailedLines = u8"VK37摄像头参数保存失败。\r\n 无法写入'VK37.ini'文件。\r\n";

struct CommandRun {
    DWORD status = 0;
    std::string out, err;
};

// A command line argument quoted the way CommandLineToArgvW reads it back.
std::wstring Quote(const std::wstring& arg) {
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
}

HANDLE InheritableFile(const std::wstring& path) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Runs the program with args in directory, its output into two files beside it.
testing::AssertionResult RunProgram(const std::vector<std::wstring>& args,
                                    const std::wstring& directory, CommandRun& run,
                                    const std::wstring& program = g_program) {
    std::wstring commandLine = Quote(program);
    for (const std::wstring& arg : args)
        commandLine += L" " + Quote(arg);
    // Fresh names for every run: Wine may close a finished child's handles
    // a moment after the process has ended.
    static int s_runs = 0;
    const std::wstring stem = directory + L"\\..\\run" + std::to_wstring(++s_runs);
    const std::wstring outPath = stem + L".out";
    const std::wstring errPath = stem + L".err";
    HANDLE out = InheritableFile(outPath);
    HANDLE err = InheritableFile(errPath);
    if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE)
        return testing::AssertionFailure() << "cannot create " << Utf8(stem) << ".out/.err";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process = {};
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, directory.c_str(), &startup, &process);
    CloseHandle(out);
    CloseHandle(err);
    if (!started)
        return testing::AssertionFailure() << "cannot start " << Utf8(commandLine);
    const DWORD waited = WaitForSingleObject(process.hProcess, kTimeoutMs);
    if (waited != WAIT_OBJECT_0)
        TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &run.status);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (waited != WAIT_OBJECT_0)
        return testing::AssertionFailure() << Utf8(commandLine) << " did not end";
    ReadFileBytes(outPath, run.out);
    ReadFileBytes(errPath, run.err);
    return testing::AssertionSuccess();
}

class CliTest : public testing::Test {
protected:
    void SetUp() override {
        m_root = fs::temp_directory_path() /
                 ("vk37cli-" + std::to_string(GetCurrentProcessId()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_root);
        fs::create_directories(Work());
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }
    fs::path Work() const { return m_root / "work"; }

    fs::path m_root;
};

TEST_F(CliTest, EachCommandLineEndsWithItsStatusOutputAndFile) {
    const std::wstring cameraA = fs::path(fakecamera::kCameras[0].name).wstring();
    const struct {
        const char* label;
        std::vector<std::wstring> args;
        DWORD status;
        int savedCamera; // the expected file of the camera at this position; -1: no file
        std::string out;
        std::string errPart; // empty: nothing on standard error
        bool blockFile = false;
    } cases[] = {
        {"default camera", {}, 0, 0, kSavedLines, ""},
        {"by name, quiet", {L"--device", cameraA, L"--quiet"}, 0, 0, "", ""},
        {"without camera control", {L"-d", L"1"}, 0, 1, "", ""},
        {"unreadable name", {L"--device=(未知设备)"}, 0, 2, kSavedLines, ""},
        {"file is a directory", {L"-d", L"2"}, 1, -1, "", kFailedLines, true},
        {"past the list", {L"-d", L"3"}, 2, -1, "", "no camera at position 3"},
        {"unknown name", {L"-d", L"摄像头"}, 2, -1, "", u8"no camera is named '摄像头'"},
        {"usage", {L"--bogus"}, 64, -1, "", "unknown option '--bogus'"},
        {"version", {L"--version"}, 0, -1, "vk37save 1.0.0.1\r\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const fs::path file = Work() / "VK37.INI";
        if (c.blockFile)
            fs::create_directory(file);
        CommandRun run;
        ASSERT_TRUE(RunProgram(c.args, Work().wstring(), run));
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_EQ(run.out, c.out);
        if (c.errPart.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_NE(run.err.find(c.errPart), std::string::npos) << run.err;
        std::string written;
        if (c.savedCamera >= 0) {
            ASSERT_TRUE(ReadFileBytes(file.wstring(), written));
            EXPECT_EQ(written, fakecamera::ExpectedParameterFile(c.savedCamera));
        } else {
            EXPECT_FALSE(fs::is_regular_file(file));
        }
        fs::remove_all(file);
    }
}

// One line per camera, in the enumerator's order: position, the name the
// dialog shows, and the identity (the moniker's display name, which names
// the filter's class for these cameras); then -C into another directory.
TEST_F(CliTest, ListsTheCamerasAndSavesIntoAnotherDirectory) {
    CommandRun run;
    ASSERT_TRUE(RunProgram({L"--list"}, Work().wstring(), run));
    EXPECT_EQ(run.status, 0u) << run.err;
    std::string expected;
    for (int i = 0; i < 3; ++i) {
        const fakecamera::Camera& camera = fakecamera::kCameras[i];
        expected += std::to_string(i) + "\t" +
                    (camera.nameReadable ? camera.name : u8"(未知设备)") +
                    "\t@device:sw:{860BB310-5D01-11D0-BD3B-00A0C911CE86}\\" + camera.clsid + "\r\n";
    }
    EXPECT_EQ(run.out, expected);

    const fs::path other = m_root / "其他";
    fs::create_directory(other);
    ASSERT_TRUE(RunProgram({L"-C", other.wstring(), L"-q", L"-d", L"1"}, Work().wstring(), run));
    EXPECT_EQ(run.status, 0u) << run.err;
    std::string written;
    ASSERT_TRUE(ReadFileBytes((other / "VK37.INI").wstring(), written));
    EXPECT_EQ(written, fakecamera::ExpectedParameterFile(1));
    EXPECT_FALSE(fs::exists(Work() / "VK37.INI"));
}

// vk37load on camera A's saved file: no Set for the file as saved; for an
// edited file exactly the changed properties, manual ones with their value,
// automatic ones with the camera's value; --check and another camera's ranges
// write nothing. Each run is a new process, so the cameras start from the table.
TEST_F(CliTest, LoadWritesOnlyWhatDiffersWithItsFlags) {
    const fs::path file = Work() / "VK37.INI";
    const fs::path setLog = m_root / "sets.log";
    SetEnvironmentVariableW(L"VK37_FAKECAMERA_SETLOG", setLog.wstring().c_str());
    const std::string saved = fakecamera::ExpectedParameterFile(0);
    ASSERT_TRUE(std::ofstream(file, std::ios::binary).write(saved.data(), saved.size()));
    auto edit = [&](const wchar_t* section, const wchar_t* key, const wchar_t* value) {
        ASSERT_TRUE(WritePrivateProfileStringW(section, key, value, file.wstring().c_str()));
    };
    const std::string a = std::string(fakecamera::kCameras[0].name) + "\t";
    const std::string b = std::string(fakecamera::kCameras[1].name) + "\t";
    const struct {
        const char* label;
        std::function<void()> prepare;
        std::vector<std::wstring> args;
        DWORD status;
        std::string sets; // the Set log, exactly
    } cases[] = {
        // clang-format off
        {"the saved file", [] {}, {}, 0, ""},
        {"changed: brightness manual, contrast and exposure switched",
         [&] {
             edit(L"BRIGHTNESS", L"V_LVALUE", L"-10");
             edit(L"CONTRAST", L"V_PCAPSFLAGS", L"2");
             edit(L"EXPOSURE", L"V_PCAPSFLAGS", L"1");
         }, {L"-q"}, 0,
         a + "procamp\t0\t-10\t2\n" + a + "procamp\t1\t47\t2\n" + a + "cameracontrol\t4\t-6\t1\n"},
        {"--check", [] {}, {L"--check"}, 3, ""},
        {"camera B: only colour enable has the file's range", [] {}, {L"-d", L"1"}, 3,
         b + "procamp\t6\t0\t2\n"},
        {"a value off the step is refused", [&] { edit(L"HUE", L"V_LVALUE", L"-44"); }, {L"-q"}, 3,
         a + "procamp\t0\t-10\t2\n" + a + "procamp\t1\t47\t2\n" + a + "procamp\t2\t-44\t2\n" + a +
             "cameracontrol\t4\t-6\t1\n"},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        c.prepare();
        fs::remove(setLog);
        CommandRun run;
        ASSERT_TRUE(RunProgram(c.args, Work().wstring(), run, g_loadProgram));
        EXPECT_EQ(run.status, c.status) << run.out << run.err;
        std::string sets;
        ReadFileBytes(setLog.wstring(), sets);
        EXPECT_EQ(sets, c.sets);
    }
    SetEnvironmentVariableW(L"VK37_FAKECAMERA_SETLOG", nullptr);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: vk37_cli_driver <vk37save.exe> <vk37load.exe> [GoogleTest options]\n");
        return 2;
    }
    g_program = DosPath(argv[1]);
    g_loadProgram = DosPath(argv[2]);
    return RUN_ALL_TESTS();
}
