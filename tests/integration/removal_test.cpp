// Devices that go away while the program holds them. Each test leaves vivid
// unusable, so the guest script runs each one alone after reloading it.
#include "tests/integration/inifile.h"
#include "tests/integration/v4l2ctl.h"
#include "tests/integration/vividfixture.h"

#include "capture/saveparameters.h"
#include "platform/linux/v4l2/nodewatch.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace {

// vivid's "disconnect" button acts like a pulled USB cable: the node stays
// in /dev but every call on it fails with ENODEV. vivid reconnects once its
// last user closes the node, so it only lasts while the program holds it.
bool Disconnect(const std::string& node) {
    return SetControl(node, "disconnect", 1);
}

// The changes of one burst: read until the directory has been quiet a while.
int WaitForChanges(CVideoNodeWatch& watch) {
    int changes = 0;
    pollfd readable = {watch.Fd(), POLLIN, 0};
    for (int wait = 10000; poll(&readable, 1, wait) > 0; wait = 500)
        changes |= watch.ReadChanges();
    return changes;
}

using VividRemoval = CVividTest;

TEST_F(VividRemoval, DisconnectBetweenTwoReadsFailsTheLaterReads) {
    const std::string node = CaptureNodes().at(1);
    Enumerate();
    ASSERT_EQ(S_OK, BindProcAmp(1));
    PropertyReading reading;
    ASSERT_EQ(S_OK, ReadProcAmp(VideoProcAmp_Brightness, &reading));

    ASSERT_TRUE(Disconnect(node));
    EXPECT_TRUE(FAILED(ReadProcAmp(VideoProcAmp_Contrast, &reading)));
    EXPECT_TRUE(FAILED(ReadProcAmp(VideoProcAmp_Brightness, &reading)));

    // A save now finds the node dead (or gone from the list): it binds
    // nothing and writes nothing.
    CScratchDirectory scratch;
    SaveParameters(*m_device, 1);
    EXPECT_NE(0, access(scratch.ParameterFile().c_str(), F_OK));
    EXPECT_TRUE(m_messages.empty());

    // The other instance is unaffected.
    Enumerate();
    ASSERT_EQ(S_OK, BindProcAmp(0));
    EXPECT_EQ(S_OK, ReadProcAmp(VideoProcAmp_Brightness, &reading));
}

// The first camera goes away after the list was made: choosing the second
// saves the second, now at position 0; choosing the first saves nothing.
TEST_F(VividRemoval, ASaveFindsTheChosenCameraByItsIdNotItsOldPosition) {
    const std::vector<std::string> nodes = CaptureNodes();
    ASSERT_EQ(2u, nodes.size());
    ASSERT_TRUE(SetControl(nodes[0], "brightness", 10));
    ASSERT_TRUE(SetControl(nodes[1], "brightness", 240));
    Enumerate();
    std::wstring first, second;
    ASSERT_EQ(S_OK, m_device->GetDeviceId(0, first));
    ASSERT_EQ(S_OK, m_device->GetDeviceId(1, second));
    EXPECT_NE(first, second);

    // Held open, the disconnected node stays dead, and enumeration leaves it out.
    const int held = open(nodes[0].c_str(), O_RDWR);
    ASSERT_GE(held, 0);
    ASSERT_TRUE(Disconnect(nodes[0]));

    const struct {
        const wchar_t* id;
        int position;
        SaveOutcome outcome;
        const char* port; // null: nothing written
    } cases[] = {{second.c_str(), 1, SaveOutcome::DeviceMoved, "0"},
                 {first.c_str(), 0, SaveOutcome::DeviceGone, nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        CScratchDirectory scratch;
        EXPECT_EQ(c.outcome, SaveParameters(*m_device, c.position, c.id));
        EXPECT_EQ(1, m_device->DeviceCount());
        std::vector<IniSection> file;
        const bool written = ReadIniFile(scratch.ParameterFile(), &file);
        ASSERT_EQ(c.port != nullptr, written);
        if (written) {
            ASSERT_GE(file.size(), 2u);
            EXPECT_EQ(c.port, file[0].keys.at(0).second);
            EXPECT_EQ("240", file[1].keys.at(5).second) << "the second camera's brightness";
        }
    }
    EXPECT_TRUE(m_messages.empty());
    close(held);
}

// What keeps an open dialog's list current: the watch on /dev tells of the
// nodes going and coming back, and the camera that came back can be saved.
TEST_F(VividRemoval, TheNodeWatchSeesCamerasGoAndComeBack) {
    CVideoNodeWatch watch;
    ASSERT_GE(watch.Fd(), 0);
    std::string device;
    ASSERT_TRUE(UnbindVivid(&device));
    const int comeOrGone = CVideoNodeWatch::kNodeAdded | CVideoNodeWatch::kNodeRemoved;
    EXPECT_EQ(CVideoNodeWatch::kNodeRemoved, WaitForChanges(watch) & comeOrGone);

    ASSERT_TRUE(BindVivid(device));
    EXPECT_EQ(CVideoNodeWatch::kNodeAdded, WaitForChanges(watch) & comeOrGone);
    Enumerate();
    ASSERT_EQ(2, m_device->DeviceCount());
    std::wstring id;
    ASSERT_EQ(S_OK, m_device->GetDeviceId(1, id));
    CScratchDirectory scratch;
    EXPECT_EQ(SaveOutcome::Saved, SaveParameters(*m_device, 1, id));
    std::vector<IniSection> file;
    ASSERT_TRUE(ReadIniFile(scratch.ParameterFile(), &file));
    EXPECT_EQ(8u, file.size()) << "vivid has no exposure: eight sections, no message";
    EXPECT_EQ("1", file.at(0).keys.at(0).second);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(VividRemoval, UnplugBetweenEnumerationAndBindFailsTheBind) {
    Enumerate();
    ASSERT_EQ(2, m_device->DeviceCount());

    ASSERT_TRUE(UnbindVivid());
    ComPtr<IBaseFilter>& filter = m_device->FilterSlot();
    for (int position = 0; position < 2; ++position) {
        EXPECT_NE(S_OK, m_device->BindDevice(position, filter.ReleaseAndGetAddressOf()))
            << "position " << position;
        EXPECT_TRUE(filter.IsEmpty());
    }
}

TEST_F(VividRemoval, UnplugWhileBoundFailsReadsAndEmptiesTheList) {
    Enumerate();
    ASSERT_EQ(S_OK, BindProcAmp(0));
    PropertyReading reading;
    ASSERT_EQ(S_OK, ReadProcAmp(VideoProcAmp_Brightness, &reading));

    ASSERT_TRUE(UnbindVivid());
    EXPECT_TRUE(ListVideoNodes().empty());
    EXPECT_TRUE(FAILED(ReadProcAmp(VideoProcAmp_Brightness, &reading)));

    CScratchDirectory scratch;
    SaveParameters(*m_device, 0);
    EXPECT_EQ(0, m_device->DeviceCount());
    EXPECT_NE(0, access(scratch.ParameterFile().c_str(), F_OK));
    EXPECT_TRUE(m_messages.empty());
    // TearDown then releases interfaces whose device no longer exists.
}

} // namespace
