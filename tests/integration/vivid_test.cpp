// The capture path against the kernel's virtual video driver, inside the
// test VM: vivid is loaded with two instances, the first with a capture and
// a metadata capture node, the second with a capture node only.
#include "tests/integration/inifile.h"
#include "tests/integration/v4l2ctl.h"
#include "tests/integration/vividfixture.h"

#include "capture/saveparameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

struct ListedDevice {
    std::string card;
    std::string busInfo;
};

// `v4l2-ctl --list-devices` by node: it heads each device "card (bus info):"
// and lists the device's nodes under it, each on a line of its own after a tab.
std::map<std::string, ListedDevice> ListDevices() {
    std::map<std::string, ListedDevice> byNode;
    std::string text;
    RunCommand("v4l2-ctl --list-devices 2>/dev/null", &text);
    std::istringstream lines(text);
    std::string line;
    ListedDevice device;
    while (std::getline(lines, line)) {
        if (line.rfind('\t', 0) == 0) {
            byNode[line.substr(1)] = device;
            continue;
        }
        // The card may hold parentheses of its own; the bus info is the last pair.
        const size_t open = line.rfind(" (");
        if (line.size() < 3 || line.compare(line.size() - 2, 2, "):") != 0 ||
            open == std::string::npos) {
            device = ListedDevice();
            continue;
        }
        device.card = line.substr(0, open);
        device.busInfo = line.substr(open + 2, line.size() - 2 - (open + 2));
    }
    return byNode;
}

// The layout the VM's module arguments produce; every other test relies on it.
TEST(VividLayout, MetadataNodeSitsBetweenTheTwoCaptureNodes) {
    ASSERT_EQ((std::vector<std::string>{"/dev/video0", "/dev/video1", "/dev/video2"}),
              ListVideoNodes());
    V4l2CtlNode meta;
    ASSERT_TRUE(QueryNode("/dev/video1", &meta));
    EXPECT_TRUE(Contains(meta.deviceCaps, "Metadata Capture"));
    EXPECT_FALSE(IsCaptureNode(meta));
    // The device-wide field still claims capture: a filter on it would list
    // the metadata node as a camera.
    EXPECT_TRUE(Contains(meta.capabilities, "Video Capture"));
    EXPECT_EQ((std::vector<std::string>{"/dev/video0", "/dev/video2"}), CaptureNodes());
}

// Both instances report the same card name, so each is listed with the bus
// info v4l2-ctl shows for it; each capture node is also marked by its
// brightness to tell which one a list position binds.
TEST_F(CVividTest, ListsOnlyCaptureNodesByNameInNodeOrder) {
    const std::vector<std::string> nodes = CaptureNodes();
    ASSERT_EQ(2u, nodes.size());
    const std::map<std::string, ListedDevice> listed = ListDevices();
    std::vector<std::wstring> expectedNames;
    for (const std::string& node : nodes) {
        V4l2CtlNode info;
        ASSERT_TRUE(QueryNode(node, &info));
        ASSERT_EQ(1u, listed.count(node)) << node << " missing from v4l2-ctl --list-devices";
        const ListedDevice& device = listed.at(node);
        EXPECT_EQ(info.card, device.card) << node;
        ASSERT_FALSE(device.busInfo.empty()) << node;
        expectedNames.push_back(Widen(info.card + " (" + device.busInfo + ")"));
    }
    // What the expected names rest on: one card name, two buses.
    ASSERT_EQ(listed.at(nodes[0]).card, listed.at(nodes[1]).card);
    ASSERT_NE(listed.at(nodes[0]).busInfo, listed.at(nodes[1]).busInfo);
    const LONG marks[] = {17, 201};
    for (size_t i = 0; i < nodes.size(); ++i)
        ASSERT_TRUE(SetControl(nodes[i], "brightness", marks[i]));

    // A second enumeration must give the same order as the first.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE("enumeration " + std::to_string(round + 1));
        Enumerate();
        ASSERT_EQ(static_cast<int>(nodes.size()), m_device->DeviceCount());
        for (size_t i = 0; i < nodes.size(); ++i) {
            std::wstring name;
            EXPECT_EQ(S_OK, m_device->GetDeviceName(static_cast<int>(i), name));
            EXPECT_EQ(expectedNames[i], name);

            ASSERT_EQ(S_OK, BindProcAmp(static_cast<int>(i)));
            PropertyReading reading;
            ASSERT_EQ(S_OK, ReadProcAmp(VideoProcAmp_Brightness, &reading));
            EXPECT_EQ(marks[i], reading.lValue) << nodes[i];
        }
    }
    for (const std::string& node : nodes)
        SetControl(node, "brightness", 128);
}

TEST_F(CVividTest, AmplifierReadingsMatchWhatV4l2CtlReports) {
    const std::string node = CaptureNodes().at(1);
    ASSERT_TRUE(SetControl(node, "contrast", 99));
    std::map<std::string, V4l2CtlControl> controls = ListControls(node);
    Enumerate();
    ASSERT_EQ(S_OK, BindProcAmp(1));

    const struct {
        LONG property;
        const char* control;
    } mapped[] = {
        {VideoProcAmp_Brightness, "brightness"},
        {VideoProcAmp_Contrast, "contrast"},
        {VideoProcAmp_Hue, "hue"},
        {VideoProcAmp_Saturation, "saturation"},
    };
    for (const auto& row : mapped) {
        SCOPED_TRACE(row.control);
        ASSERT_EQ(1u, controls.count(row.control));
        const V4l2CtlControl& c = controls[row.control];
        PropertyReading r;
        ASSERT_EQ(S_OK, ReadProcAmp(row.property, &r));
        EXPECT_EQ(c.min, r.lMin);
        EXPECT_EQ(c.max, r.lMax);
        EXPECT_EQ(c.step, r.lSteppingDelta);
        EXPECT_EQ(c.def, r.lDefault);
        EXPECT_EQ(c.value, r.lValue);
        // None of the four has an automatic companion in vivid.
        EXPECT_EQ(VideoProcAmp_Flags_Manual, r.lCapsFlags);
    }
    EXPECT_EQ(0, controls["brightness"].min);
    EXPECT_EQ(255, controls["brightness"].max);
    EXPECT_EQ(128, controls["brightness"].def);

    // vivid has no such controls.
    for (LONG property : {VideoProcAmp_Sharpness, VideoProcAmp_Gamma, VideoProcAmp_ColorEnable,
                          VideoProcAmp_WhiteBalance, VideoProcAmp_BacklightCompensation}) {
        PropertyReading r;
        EXPECT_EQ(E_PROP_ID_UNSUPPORTED, ReadProcAmp(property, &r)) << "property " << property;
    }
    SetControl(node, "contrast", 128);
}

// vivid's gain has automatic gain as its companion, switched on: the range
// offers both modes and the value query reports the automatic one.
TEST_F(CVividTest, GainReportsItsAutomaticCompanion) {
    const std::string node = CaptureNodes().at(1);
    std::map<std::string, V4l2CtlControl> controls = ListControls(node);
    ASSERT_EQ(1u, controls.count("gain"));
    ASSERT_EQ(1, controls["gain_automatic"].value);
    Enumerate();
    ASSERT_EQ(S_OK, BindProcAmp(1));

    LONG min = 0, max = 0, step = 0, def = 0, caps = 0;
    ASSERT_EQ(S_OK,
              m_device->ProcAmpSlot()->GetRange(VideoProcAmp_Gain, &min, &max, &step, &def, &caps));
    EXPECT_EQ(controls["gain"].min, min);
    EXPECT_EQ(controls["gain"].max, max);
    EXPECT_EQ(controls["gain"].step, step);
    EXPECT_EQ(controls["gain"].def, def);
    EXPECT_EQ(VideoProcAmp_Flags_Auto | VideoProcAmp_Flags_Manual, caps);
    LONG value = 0, flags = 0;
    ASSERT_EQ(S_OK, m_device->ProcAmpSlot()->Get(VideoProcAmp_Gain, &value, &flags));
    EXPECT_EQ(VideoProcAmp_Flags_Auto, flags);
}

TEST_F(CVividTest, HasNoCameraControlWithoutExposure) {
    Enumerate();
    ASSERT_EQ(S_OK, BindProcAmp(1));
    ComPtr<IAMCameraControl> cameraControl;
    EXPECT_EQ(E_NOINTERFACE, m_device->FilterSlot()->QueryInterface(
                                 IID_IAMCameraControl, cameraControl.ReleaseAndGetAddressOfVoid()));
    EXPECT_TRUE(cameraControl.IsEmpty());
}

TEST_F(CVividTest, SaveWritesWhatV4l2CtlReports) {
    const std::string node = CaptureNodes().at(1);
    ASSERT_TRUE(SetControl(node, "brightness", 201));
    ASSERT_TRUE(SetControl(node, "hue", -40));
    std::map<std::string, V4l2CtlControl> controls = ListControls(node);
    CScratchDirectory scratch;

    SaveParameters(*m_device, 1);

    std::vector<IniSection> file;
    ASSERT_TRUE(ReadIniFile(scratch.ParameterFile(), &file)) << "no VK37.INI written";
    // No camera control, so no EXPOSURE section and no completion message.
    std::vector<std::string> names;
    for (const IniSection& section : file)
        names.push_back(section.name);
    EXPECT_EQ((std::vector<std::string>{"SYSTEM", "BRIGHTNESS", "CONTRAST", "HUE", "SATURATION",
                                        "SHARPNESS", "COLORENABLE", "WHITEBALANCE"}),
              names);
    EXPECT_TRUE(m_messages.empty());
    ASSERT_EQ(8u, file.size());

    using Keys = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ((Keys{{"PORT", "1"}}), file[0].keys);
    const char* mapped[] = {"brightness", "contrast", "hue", "saturation"};
    for (int i = 0; i < 4; ++i) {
        const V4l2CtlControl& c = controls[mapped[i]];
        const Keys expected = {
            {"V_PMIN", std::to_string(c.min)},
            {"V_PMAX", std::to_string(c.max)},
            {"V_PSTEPPINGDELTA", std::to_string(c.step)},
            {"V_PDEFAULT", std::to_string(c.def)},
            {"V_PCAPSFLAGS", "2"},
            {"V_LVALUE", std::to_string(c.value)},
        };
        EXPECT_EQ(expected, file[1 + i].keys) << file[1 + i].name;
    }
    EXPECT_EQ("201", file[1].keys.at(5).second);
    EXPECT_EQ("-40", file[3].keys.at(5).second);
    const Keys empty = {{"V_PMIN", ""},     {"V_PMAX", ""},       {"V_PSTEPPINGDELTA", ""},
                        {"V_PDEFAULT", ""}, {"V_PCAPSFLAGS", ""}, {"V_LVALUE", ""}};
    for (size_t i = 5; i < file.size(); ++i)
        EXPECT_EQ(empty, file[i].keys) << file[i].name;

    SetControl(node, "brightness", 128);
    SetControl(node, "hue", 0);
}

// vivid has no exposure control, so a save never shows the completion
// message; a file that cannot be written must still be told.
TEST_F(CVividTest, UnwritableFileIsReportedWithoutExposure) {
    CScratchDirectory scratch;
    ASSERT_EQ(0, mkdir(scratch.ParameterFile().c_str(), 0755));
    SaveParameters(*m_device, 1);
    ASSERT_EQ(1u, m_messages.size());
    EXPECT_EQ(L"VK37摄像头参数保存失败。\n 无法写入'VK37.ini'文件。", m_messages[0]);
}

// Counting the metadata node would make position 2 valid.
TEST_F(CVividTest, SaveAtAPositionPastTheCaptureNodesWritesNothing) {
    CScratchDirectory scratch;
    SaveParameters(*m_device, 2);
    SaveParameters(*m_device, -1);
    EXPECT_NE(0, access(scratch.ParameterFile().c_str(), F_OK));
    EXPECT_TRUE(m_messages.empty());
}

} // namespace
