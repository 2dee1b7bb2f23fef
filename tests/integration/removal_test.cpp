// Devices that go away while the program holds them. Each test leaves vivid
// unusable, so the guest script runs each one alone after reloading it.
#include "tests/integration/v4l2ctl.h"
#include "tests/integration/vividfixture.h"

#include "capture/saveparameters.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <unistd.h>

namespace {

// vivid's "disconnect" button acts like a pulled USB cable: the node stays
// in /dev but every call on it fails with ENODEV. vivid reconnects once its
// last user closes the node, so it only lasts while the program holds it.
bool Disconnect(const std::string& node) {
    return SetControl(node, "disconnect", 1);
}

// Unbinding the platform driver removes every vivid node at once, as an
// unplugged camera's nodes go.
bool UnbindVivid() {
    const std::string driver = "/sys/bus/platform/drivers/vivid";
    std::string device;
    if (DIR* dir = opendir(driver.c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name).rfind("vivid.", 0) == 0)
                device = entry->d_name;
        closedir(dir);
    }
    if (device.empty())
        return false;
    std::ofstream unbind(driver + "/unbind");
    unbind << device << std::flush;
    return static_cast<bool>(unbind);
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
