// vk37save, the real program, against vivid inside the test VM: the file it
// saves is byte for byte the file of the dialog's save of the same camera,
// and each way it can end has its exit status. vivid has no exposure
// control, so no save prints the completion message.
#include "tests/integration/v4l2ctl.h"
#include "tests/integration/vividfixture.h"

#include "capture/saveparameters.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

const std::string kProgram = "/bin/vk37save";

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

TEST_F(CVividTest, CommandSavesTheDialogsFileAndEndsWithItsStatus) {
    const std::vector<std::string> nodes = CaptureNodes();
    ASSERT_EQ(2u, nodes.size());
    ASSERT_TRUE(SetControl(nodes[1], "brightness", 77));
    CScratchDirectory scratch;

    // The dialog's save of position 1: a fresh list, then the save by id.
    Enumerate();
    std::wstring id, name0, name1;
    ASSERT_EQ(S_OK, m_device->GetDeviceId(1, id));
    ASSERT_EQ(S_OK, m_device->GetDeviceName(0, name0));
    ASSERT_EQ(S_OK, m_device->GetDeviceName(1, name1));
    ASSERT_EQ(SaveOutcome::Saved, SaveParameters(*m_device, 1, id));
    const std::string dialogFile = FileBytes(scratch.ParameterFile());
    ASSERT_NE(std::string::npos, dialogFile.find("V_LVALUE=77"));

    const struct {
        const char* label;
        std::string arguments;
        const char* directory; // given with -C, under the scratch directory
        int status;
        const char* errPart; // empty: nothing on standard error
        bool saves;          // the file in "out" must equal the dialog's
    } cases[] = {
        {"by position", "--device 1", "out", 0, "", true},
        {"by node path", "--device=/dev/video2 --quiet", "out", 0, "", true},
        {"past the capture nodes", "--device 2", "out", 2, "no camera at position 2", false},
        {"file is a directory", "-d 1", "blocked", 1, "\xE6\x97\xA0\xE6\xB3\x95", false},
        {"usage", "--device 1 extra", "out", 64, "unexpected argument 'extra'", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string out = scratch.Path() + "/out";
        const std::string blocked = scratch.Path() + "/blocked";
        ASSERT_EQ(0, mkdir(out.c_str(), 0755));
        ASSERT_EQ(0, mkdir(blocked.c_str(), 0755));
        ASSERT_EQ(0, mkdir((blocked + "/VK37.INI").c_str(), 0755));

        const CommandRun run =
            RunProgram(kProgram + " -C " + scratch.Path() + "/" + c.directory + " " + c.arguments);
        EXPECT_EQ(c.status, run.status) << run.err;
        EXPECT_EQ("", run.out);
        if (*c.errPart == '\0')
            EXPECT_EQ("", run.err);
        else
            EXPECT_NE(std::string::npos, run.err.find(c.errPart)) << run.err;
        if (c.saves)
            EXPECT_EQ(dialogFile, FileBytes(out + "/VK37.INI"));
        else
            EXPECT_NE(0, access((out + "/VK37.INI").c_str(), F_OK));

        RunCommand("rm -rf " + out + " " + blocked, nullptr);
    }

    const CommandRun list = RunProgram(kProgram + " --list");
    EXPECT_EQ(0, list.status) << list.err;
    EXPECT_EQ("0\t" + Narrow(name0) + "\t" + nodes[0] + "\n1\t" + Narrow(name1) + "\t" + nodes[1] +
                  "\n",
              list.out);
    SetControl(nodes[1], "brightness", 128);
}

} // namespace
