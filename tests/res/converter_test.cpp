// The converter as the build runs it: a wrong script stops the build with the
// place of the fault and leaves no output behind; a right one writes the
// tables and the dependency list.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Converter : public testing::Test {
protected:
    void SetUp() override {
        std::string pattern = testing::TempDir() + "rc2cpp-test-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern.data()));
        m_dir = pattern;
    }
    void TearDown() override {
        for (const char* name : {"app.rc", "out.cpp", "out.d", "stderr.txt", "out.cpp.tmp"})
            std::remove((m_dir + "/" + name).c_str());
        rmdir(m_dir.c_str());
    }

    void WriteScript(const std::string& text) { std::ofstream(m_dir + "/app.rc") << text; }

    // Runs the converter; returns its exit status.
    int Run() {
        std::string command = RC2CPP_RUNNER " '" RC2CPP_PATH "' '" + m_dir + "/app.rc' -o '" +
                              m_dir + "/out.cpp' -d '" + m_dir + "/out.d' 2>'" + m_dir +
                              "/stderr.txt'";
        int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Read(const char* name) {
        std::ifstream in(m_dir + "/" + name);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    bool Exists(const char* name) { return access((m_dir + "/" + name).c_str(), F_OK) == 0; }

    std::string m_dir;
};

TEST_F(Converter, BadScriptFailsWithFileAndLine) {
    std::ofstream(m_dir + "/out.cpp") << "stale";
    WriteScript("1 DIALOG 0,0,1,1\nSTYLE WS_NOTHING\nBEGIN\nEND\n");
    EXPECT_NE(0, Run());
    EXPECT_NE(std::string::npos,
              Read("stderr.txt").find("app.rc:2: error: 'WS_NOTHING' is not defined"))
        << Read("stderr.txt");
    EXPECT_FALSE(Exists("out.cpp")); // a stale table must not satisfy the build
}

TEST_F(Converter, GoodScriptWritesAsciiTablesAndDependencies) {
    WriteScript(
        "#pragma code_page(65001)\nLANGUAGE 4, 2\nSTRINGTABLE\nBEGIN\n 1 \"摄像头\"\nEND\n");
    ASSERT_EQ(0, Run()) << Read("stderr.txt");
    std::string cpp = Read("out.cpp");
    EXPECT_NE(std::string::npos, cpp.find("ScriptResources"));
    EXPECT_NE(std::string::npos, cpp.find(R"({1, 0x0804, L"\u6444\u50CF\u5934"})"));
    for (char c : cpp)
        ASSERT_TRUE(static_cast<unsigned char>(c) < 0x80);
    EXPECT_NE(std::string::npos, Read("out.d").find("app.rc"));
}

TEST_F(Converter, UsageErrorWithoutOutput) {
    std::string command = RC2CPP_RUNNER " '" RC2CPP_PATH "' 2>/dev/null";
    int status = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
}

} // namespace
