// The save button's work end to end on the fake kernel: CoCreateInstance
// finds the camera source registered over CLSID_SystemDeviceEnum, and the
// capture code runs unchanged on top of it into a real VK37.INI; and the
// restore of the camera's defaults, which writes controls.
#include "capture/restoreparameters.h"
#include "capture/saveparameters.h"
#include "platform/msgbox_hook.h"
#include "platform/linux/v4l2/enumerator.h"
#include "tests/platform/linux/v4l2/fakekernel.h"

#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <strings.h>
#include <unistd.h>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines Section(const std::string& name, const Lines& values) {
    static const char* const kKeys[] = {"V_PMIN",     "V_PMAX",       "V_PSTEPPINGDELTA",
                                        "V_PDEFAULT", "V_PCAPSFLAGS", "V_LVALUE"};
    Lines lines = {"[" + name + "]"};
    for (size_t i = 0; i < 6; ++i)
        lines.push_back(std::string(kKeys[i]) + "=" + (values.empty() ? "" : values[i]));
    return lines;
}

Lines Join(std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}

class SaveOnFakeKernelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        IClassFactory* factory = new CDeviceEnumFactory(m_kernel);
        ASSERT_EQ(CoRegisterClassObject(CLSID_SystemDeviceEnum, factory, CLSCTX_INPROC_SERVER,
                                        REGCLS_MULTIPLEUSE, &m_cookie),
                  S_OK);
        factory->Release();
        m_previousHandler = SetMessageBoxHandler([this](LPCWSTR text, UINT, UINT) {
            m_messages.push_back(text);
            return 1;
        });

        char pattern[] = "/tmp/vk37-v4l2-save-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
        char* cwd = getcwd(nullptr, 0);
        ASSERT_NE(cwd, nullptr);
        m_previousDir = cwd;
        std::free(cwd);
        ASSERT_EQ(chdir(m_dir.c_str()), 0);
    }

    void TearDown() override {
        EXPECT_EQ(chdir(m_previousDir.c_str()), 0);
        for (const std::string& name : Entries())
            unlink((m_dir + "/" + name).c_str());
        rmdir(m_dir.c_str());
        SetMessageBoxHandler(m_previousHandler);
        EXPECT_EQ(CoRevokeClassObject(m_cookie), S_OK);
        CoUninitialize();
        EXPECT_TRUE(m_kernel->UnknownRequests().empty());
        if (!m_writesExpected) {
            EXPECT_TRUE(m_kernel->Writes().empty()); // the save never writes a control
        }
    }

    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        if (DIR* dir = opendir(m_dir.c_str())) {
            while (const dirent* entry = readdir(dir))
                if (std::string(entry->d_name) != "." && std::string(entry->d_name) != "..")
                    names.push_back(entry->d_name);
            closedir(dir);
        }
        return names;
    }

    // The parameter file's lines, or nothing when no such file exists.
    Lines FileLines() const {
        Lines lines;
        for (const std::string& name : Entries()) {
            if (strcasecmp(name.c_str(), "VK37.INI") != 0)
                continue;
            std::ifstream in(m_dir + "/" + name);
            for (std::string line; std::getline(in, line);) {
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                if (!line.empty())
                    lines.push_back(line);
            }
        }
        return lines;
    }

    std::shared_ptr<CFakeKernel> m_kernel = std::make_shared<CFakeKernel>();
    std::vector<std::wstring> m_messages;
    bool m_writesExpected = false;

private:
    DWORD m_cookie = 0;
    MessageBoxHandler m_previousHandler;
    std::string m_dir;
    std::string m_previousDir;
};

TEST_F(SaveOnFakeKernelTest, UsbWebcamValuesLandInTheFile) {
    AddUsbWebcam(*m_kernel, 0, "Other Webcam", "usb-1");
    AddUsbWebcam(*m_kernel, 2, "HD Webcam", "usb-2");
    {
        CCaptureDevice device;
        SaveParameters(device, 1);
        std::wstring name;
        ASSERT_EQ(device.GetDeviceName(1, name), S_OK);
        EXPECT_EQ(name, L"HD Webcam");
    }
    EXPECT_EQ(m_kernel->OpenDescriptors(), 0);

    const Lines expected = Join({
        {"[SYSTEM]", "PORT=1"},
        Section("BRIGHTNESS", {"-64", "64", "1", "0", "2", "10"}),
        Section("CONTRAST", {"0", "95", "1", "32", "2", "40"}),
        Section("HUE", {"-2000", "2000", "1", "0", "2", "-100"}),
        Section("SATURATION", {"0", "128", "1", "64", "2", "70"}),
        Section("SHARPNESS", {"0", "7", "1", "2", "2", "3"}),
        Section("COLORENABLE", {}),
        Section("WHITEBALANCE", {"2800", "6500", "1", "4600", "1", "5000"}),
        Section("EXPOSURE", {"-12", "-2", "1", "-6", "1", "-6"}),
    });
    EXPECT_EQ(FileLines(), expected);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], L"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。");
}

// Focus or zoom without exposure gives the camera-control interface, as on
// Windows: EXPOSURE is written empty, and no completion message is shown.
TEST_F(SaveOnFakeKernelTest, FocusWithoutExposureWritesAnEmptyExposure) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    for (uint32_t id : {V4L2_CID_EXPOSURE_AUTO, V4L2_CID_EXPOSURE_ABSOLUTE})
        m_kernel->Node(0).controls.erase(id);
    AddFocusAndZoom(m_kernel->Node(0));
    CCaptureDevice device;
    SaveParameters(device, 0);
    const Lines lines = FileLines();
    ASSERT_EQ(lines.size(), 2u + 8 * 7); // SYSTEM and eight property sections
    EXPECT_EQ(Lines(lines.end() - 7, lines.end()), Section("EXPOSURE", {}));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SaveOnFakeKernelTest, UnplugBetweenReadsLeavesEmptyValuesAndNoMessage) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    // The camera goes away right after its contrast has been read.
    m_kernel->OnControlRead([this](uint32_t id) {
        if (id == V4L2_CID_CONTRAST) {
            m_kernel->Unplug(0);
            m_kernel->Unplug(1);
        }
    });
    {
        CCaptureDevice device;
        SaveParameters(device, 0);
    }
    EXPECT_EQ(m_kernel->OpenDescriptors(), 0);

    // Without controls there is no camera-control interface, so no EXPOSURE.
    const Lines expected = Join({
        {"[SYSTEM]", "PORT=0"},
        Section("BRIGHTNESS", {"-64", "64", "1", "0", "2", "10"}),
        Section("CONTRAST", {"0", "95", "1", "32", "2", "40"}),
        Section("HUE", {}),
        Section("SATURATION", {}),
        Section("SHARPNESS", {}),
        Section("COLORENABLE", {}),
        Section("WHITEBALANCE", {}),
    });
    EXPECT_EQ(FileLines(), expected);
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SaveOnFakeKernelTest, CameraGoneBeforeSavingWritesNothing) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    CCaptureDevice device;
    ASSERT_EQ(device.EnumerateDevices(), S_OK);
    ASSERT_EQ(device.DeviceCount(), 1);
    m_kernel->Unplug(0);
    m_kernel->Unplug(1);
    SaveParameters(device, 0);
    EXPECT_EQ(device.DeviceCount(), 0);
    EXPECT_TRUE(Entries().empty());
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SaveOnFakeKernelTest, LockedCameraIsNamedButNotSaved) {
    CFakeNode locked;
    locked.openErrno = EACCES;
    locked.sysfsName = "Locked Camera\n";
    m_kernel->AddNode(0, locked);
    CCaptureDevice device;
    ASSERT_EQ(device.EnumerateDevices(), S_OK);
    std::wstring name;
    ASSERT_EQ(device.GetDeviceName(0, name), S_OK);
    EXPECT_EQ(name, L"Locked Camera");
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(device.BindDevice(0, filter.ReleaseAndGetAddressOf()), E_ACCESSDENIED);
    SaveParameters(device, 0);
    EXPECT_TRUE(Entries().empty());
    // Nothing was written, and the user is told so.
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0], L"VK37摄像头参数未保存。\n 无法打开所选摄像头。");
}

// The defaults' mode is the auto companion's default: automatic modes go
// back on, or off with the default value written.
TEST_F(SaveOnFakeKernelTest, DefaultsFollowTheCompanionsDefaultMode) {
    m_writesExpected = true;
    static constexpr uint32_t kAutoWhite = V4L2_CID_AUTO_WHITE_BALANCE;
    static constexpr uint32_t kMode = V4L2_CID_EXPOSURE_AUTO;
    for (const bool manualDefaults : {false, true}) {
        SCOPED_TRACE(manualDefaults ? "manual defaults" : "automatic defaults");
        *m_kernel = CFakeKernel();
        AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
        std::map<uint32_t, CFakeControl>& c = m_kernel->Node(0).controls;
        c[kAutoWhite].value = manualDefaults ? 1 : 0;
        c[kAutoWhite].defaultValue = manualDefaults ? 0 : 1;
        c[kMode].value = manualDefaults ? V4L2_EXPOSURE_APERTURE_PRIORITY : V4L2_EXPOSURE_MANUAL;
        c[kMode].defaultValue =
            manualDefaults ? V4L2_EXPOSURE_MANUAL : V4L2_EXPOSURE_APERTURE_PRIORITY;
        ParameterFile targets;
        std::vector<PropertyResult> results;
        CCaptureDevice device;
        ASSERT_EQ(device.EnumerateDevices(), S_OK);
        EXPECT_EQ(RestoreDefaults(device, 0, false, &targets, &results), RestoreOutcome::Done);
        // The webcam's values all differ from their defaults; then the modes.
        std::vector<CFakeKernel::CWrite> writes = {{V4L2_CID_BRIGHTNESS, 0},
                                                   {V4L2_CID_CONTRAST, 32},
                                                   {V4L2_CID_HUE, 0},
                                                   {V4L2_CID_SATURATION, 64},
                                                   {V4L2_CID_SHARPNESS, 2}};
        if (manualDefaults)
            writes.insert(writes.end(), {{kAutoWhite, 0},
                                         {V4L2_CID_WHITE_BALANCE_TEMPERATURE, 4600},
                                         {kMode, V4L2_EXPOSURE_MANUAL}});
        else
            writes.insert(writes.end(),
                          {{kAutoWhite, 1}, {kMode, V4L2_EXPOSURE_APERTURE_PRIORITY}});
        EXPECT_EQ(m_kernel->Writes(), writes);
    }
}

TEST_F(SaveOnFakeKernelTest, NoCameraEnumeratesAsEmpty) {
    CCaptureDevice device;
    EXPECT_EQ(device.EnumerateDevices(), S_FALSE);
    EXPECT_EQ(device.DeviceCount(), 0);
}

} // namespace
