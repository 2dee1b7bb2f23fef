// The capture path against the kernel's uvcvideo driver, inside the test VM,
// fed by the emulated camera in uvccamera/ (see uvc_guest.sh), with one vivid
// capture node before it (/dev/video0). UvcFull runs while the camera is
// plugged in with its full configuration, UvcSecond with its second one. The
// camera logs every SET_CUR it receives to the file named by VK37_UVC_LOG,
// so the tests can tell that a save changed nothing and what exactly a
// restore wrote.
#include "tests/integration/inifile.h"
#include "tests/integration/uvccamera/camera.h"
#include "tests/integration/v4l2ctl.h"
#include "tests/integration/vividfixture.h"

#include "capture/saveparameters.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <linux/usb/video.h>
#include <sstream>

namespace {

using Keys = std::vector<std::pair<std::string, std::string>>;
const wchar_t* const kSaved = L"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。";

class CUvcTest : public CVividTest {
protected:
    void SetUp() override {
        CVividTest::SetUp();
        const std::vector<std::string> nodes = CaptureNodes();
        for (size_t i = 0; i < nodes.size(); ++i) {
            V4l2CtlNode info;
            if (QueryNode(nodes[i], &info) && info.driver == "uvcvideo") {
                m_node = nodes[i];
                m_position = static_cast<int>(i);
            }
        }
        ASSERT_FALSE(m_node.empty()) << "no uvcvideo capture node";
    }

    static std::string SetCurLog() {
        const char* path = std::getenv("VK37_UVC_LOG");
        std::ifstream in(path != nullptr ? path : "");
        EXPECT_TRUE(in.is_open()) << "VK37_UVC_LOG names no readable file";
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Saves the camera's position and reads the file back.
    std::vector<IniSection> Save() {
        CScratchDirectory scratch;
        SaveParameters(*m_device, m_position);
        std::vector<IniSection> file;
        EXPECT_TRUE(ReadIniFile(scratch.ParameterFile(), &file)) << "no VK37.INI written";
        return file;
    }

    static std::vector<std::string> Names(const std::vector<IniSection>& file) {
        std::vector<std::string> names;
        for (const IniSection& section : file)
            names.push_back(section.name);
        return names;
    }

    static Keys Expected(const V4l2CtlControl& c, const char* flags) {
        return {{"V_PMIN", std::to_string(c.min)},
                {"V_PMAX", std::to_string(c.max)},
                {"V_PSTEPPINGDELTA", std::to_string(c.step)},
                {"V_PDEFAULT", std::to_string(c.def)},
                {"V_PCAPSFLAGS", flags},
                {"V_LVALUE", std::to_string(c.value)}};
    }

    std::string m_node;
    int m_position = -1;
};

// Flags as the file holds them: 1 Auto, 2 Manual.
struct MappedRow {
    size_t section; // index in the file
    const char* control;
    const char* flags;
};

// The camera's log line for one SET_CUR of a value of size bytes.
std::string SetCur(uint8_t entity, uint8_t selector, long value, int size, const char* mark = "") {
    std::string line = "SET_CUR interface=0 entity=" + std::to_string(entity) +
                       " selector=" + std::to_string(selector) + " data=";
    for (int i = 0; i < size; ++i) {
        char hex[3];
        std::snprintf(hex, sizeof hex, "%02x", static_cast<unsigned>(value >> (8 * i)) & 0xff);
        line += hex;
    }
    return line + mark + "\n";
}

// Every control's current value, by name.
std::map<std::string, long> Values(const std::string& node) {
    std::map<std::string, long> values;
    for (const auto& [name, control] : ListControls(node))
        values[name] = control.value;
    return values;
}

const std::string kLoad = "/bin/vk37load --device ";
const std::string kSave = "/bin/vk37save -q --device ";

const Keys kEmpty = {{"V_PMIN", ""},     {"V_PMAX", ""},       {"V_PSTEPPINGDELTA", ""},
                     {"V_PDEFAULT", ""}, {"V_PCAPSFLAGS", ""}, {"V_LVALUE", ""}};

using UvcFull = CUvcTest;
using UvcSecond = CUvcTest;

// vivid's capture node comes first, the camera's after it; its metadata
// node is left out. The names differ, so each is the card name alone, the
// camera's cut by uvcvideo to 31 bytes of its product name.
TEST_F(UvcFull, ListsBothDriversInNodeOrder) {
    const std::vector<std::string> nodes = CaptureNodes();
    ASSERT_EQ(3u, ListVideoNodes().size());
    ASSERT_EQ(2u, nodes.size());
    std::vector<std::string> drivers, cards;
    for (const std::string& node : nodes) {
        V4l2CtlNode info;
        ASSERT_TRUE(QueryNode(node, &info));
        drivers.push_back(info.driver);
        cards.push_back(info.card);
    }
    ASSERT_EQ((std::vector<std::string>{"vivid", "uvcvideo"}), drivers);
    EXPECT_EQ(std::string(uvccamera::kProductName).substr(0, 31), cards[1]);

    Enumerate();
    ASSERT_EQ(2, m_device->DeviceCount());
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(nodes[i]);
        std::wstring name;
        EXPECT_EQ(S_OK, m_device->GetDeviceName(i, name));
        EXPECT_EQ(Widen(cards[i]), name);
        // Each position binds its own node: the brightness tells them apart.
        ASSERT_EQ(S_OK, BindProcAmp(i));
        PropertyReading reading;
        ASSERT_EQ(S_OK, ReadProcAmp(VideoProcAmp_Brightness, &reading));
        EXPECT_EQ(ListControls(nodes[i])["brightness"].value, reading.lValue);
    }
}

// Every property the camera has, exposure included: the file holds what
// v4l2-ctl reports, exposure in log2 seconds, the completion message is
// shown, and the camera received no SET_CUR. Switching the exposure to
// aperture priority then turns its flags to Auto.
TEST_F(UvcFull, SaveWritesWhatV4l2CtlReportsAndChangesNothing) {
    std::map<std::string, V4l2CtlControl> controls = ListControls(m_node);
    // The emulation's table as the driver passed it on: what the checks below rest on.
    ASSERT_EQ(5, controls["hue"].step);
    ASSERT_EQ(10, controls["white_balance_temperature"].step);
    ASSERT_EQ(-64, controls["brightness"].min);
    ASSERT_EQ(0, controls["white_balance_automatic"].value);
    ASSERT_EQ(1, controls["auto_exposure"].value); // manual
    ASSERT_EQ(0u, controls.count("color_effects"));
    const std::string logBefore = SetCurLog();

    std::vector<IniSection> file = Save();
    ASSERT_EQ((std::vector<std::string>{"SYSTEM", "BRIGHTNESS", "CONTRAST", "HUE", "SATURATION",
                                        "SHARPNESS", "COLORENABLE", "WHITEBALANCE", "EXPOSURE"}),
              Names(file));
    EXPECT_EQ((std::vector<std::wstring>{kSaved}), m_messages);
    EXPECT_EQ((Keys{{"PORT", std::to_string(m_position)}}), file[0].keys);
    const MappedRow rows[] = {
        {1, "brightness", "2"}, {2, "contrast", "2"},  {3, "hue", "2"},
        {4, "saturation", "2"}, {5, "sharpness", "2"}, {7, "white_balance_temperature", "2"},
    };
    for (const MappedRow& row : rows) {
        ASSERT_EQ(1u, controls.count(row.control)) << row.control;
        const V4l2CtlControl& c = controls[row.control];
        EXPECT_NE(c.def, c.value) << row.control << ": current value must differ from default";
        EXPECT_EQ(Expected(c, row.flags), file[row.section].keys) << file[row.section].name;
    }
    EXPECT_EQ(kEmpty, file[6].keys) << "uvcvideo has no colour effects";

    // 100 µs units into rounded log2 seconds: 3 -> -11.7, 10000 -> 0,
    // 156 -> -6.03, 20 -> -8.97; a truncating conversion gives -11 and -8.
    const V4l2CtlControl& exposure = controls["exposure_time_absolute"];
    ASSERT_EQ((std::vector<long>{3, 10000, 1, 156, 20}),
              (std::vector<long>{exposure.min, exposure.max, exposure.step, exposure.def,
                                 exposure.value}));
    const Keys exposureKeys = {{"V_PMIN", "-12"},         {"V_PMAX", "0"},
                               {"V_PSTEPPINGDELTA", "1"}, {"V_PDEFAULT", "-6"},
                               {"V_PCAPSFLAGS", "2"},     {"V_LVALUE", "-9"}};
    EXPECT_EQ(exposureKeys, file[8].keys);
    EXPECT_EQ(logBefore, SetCurLog()) << "the save sent SET_CUR to the camera";

    // Aperture priority is an automatic mode. Setting it is the one SET_CUR
    // the log must show, which also proves the log sees them.
    ASSERT_TRUE(SetControl(m_node, "auto_exposure", 3));
    const std::string logAfterSet = SetCurLog();
    EXPECT_EQ(logBefore + "SET_CUR interface=0 entity=1 selector=2 data=08\n", logAfterSet);
    m_messages.clear();
    file = Save();
    ASSERT_EQ(9u, file.size());
    Keys automatic = exposureKeys;
    automatic[4].second = "1";
    EXPECT_EQ(automatic, file[8].keys);
    EXPECT_EQ((std::vector<std::wstring>{kSaved}), m_messages);
    EXPECT_EQ(logAfterSet, SetCurLog());
    ASSERT_TRUE(SetControl(m_node, "auto_exposure", 1));
}

// No exposure time control, automatic white balance on, and a contrast the
// camera stalls on: the file ends after WHITEBALANCE, contrast is written
// empty, white balance is Auto, no completion message is shown, and nothing
// is sent to the camera.
TEST_F(UvcSecond, SaveWithoutExposureAndWithAStalledControl) {
    std::map<std::string, V4l2CtlControl> controls = ListControls(m_node);
    ASSERT_EQ(0u, controls.count("contrast")) << "v4l2-ctl read the stalling contrast";
    ASSERT_EQ(0u, controls.count("exposure_time_absolute"));
    ASSERT_EQ(3, controls["auto_exposure"].value); // aperture priority, on its own
    ASSERT_EQ(1, controls["white_balance_automatic"].value);
    const std::string logBefore = SetCurLog();

    const std::vector<IniSection> file = Save();
    ASSERT_EQ((std::vector<std::string>{"SYSTEM", "BRIGHTNESS", "CONTRAST", "HUE", "SATURATION",
                                        "SHARPNESS", "COLORENABLE", "WHITEBALANCE"}),
              Names(file));
    EXPECT_TRUE(m_messages.empty());
    const MappedRow rows[] = {
        {1, "brightness", "2"},
        {3, "hue", "2"},
        {4, "saturation", "2"},
        {5, "sharpness", "2"},
        {7, "white_balance_temperature", "1"},
    };
    for (const MappedRow& row : rows) {
        ASSERT_EQ(1u, controls.count(row.control)) << row.control;
        EXPECT_EQ(Expected(controls[row.control], row.flags), file[row.section].keys)
            << file[row.section].name;
    }
    EXPECT_EQ(kEmpty, file[2].keys) << "the stalled contrast";
    EXPECT_EQ(kEmpty, file[6].keys);
    EXPECT_EQ(logBefore, SetCurLog()) << "the save sent SET_CUR to the camera";
}

using namespace uvccamera;

// A file that matches the camera it was saved from sends no SET_CUR. After
// every control was changed, the restore sends one per changed control in
// the file's order, each automatic mode switched off before its value.
TEST_F(UvcFull, LoadWritesOnlyWhatDiffersAutomaticModeFirst) {
    CScratchDirectory scratch;
    const std::string load = kLoad + m_node + " -C " + scratch.Path();
    const CommandRun save = RunProgram(kSave + m_node + " -C " + scratch.Path());
    ASSERT_EQ(0, save.status) << save.err;
    const std::map<std::string, long> saved = Values(m_node);
    const std::string before = SetCurLog();
    const CommandRun matching = RunProgram(load);
    EXPECT_EQ(0, matching.status) << matching.out << matching.err;
    EXPECT_EQ(before, SetCurLog()) << "a file that matches was written";

    // Values changed while manual, then the automatic modes switched on.
    ASSERT_EQ(0, RunCommand("v4l2-ctl -d " + m_node +
                                " -c brightness=30,contrast=50,hue=60,saturation=20,sharpness=2"
                                ",white_balance_temperature=3000,exposure_time_absolute=100 && "
                                "v4l2-ctl -d " +
                                m_node + " -c white_balance_automatic=1,auto_exposure=3",
                            nullptr));
    const std::string changed = SetCurLog();
    const CommandRun restore = RunProgram(load);
    EXPECT_EQ(0, restore.status) << restore.out << restore.err;
    EXPECT_EQ(changed + SetCur(kProcessingUnit, UVC_PU_BRIGHTNESS_CONTROL, -20, 2) +
                  SetCur(kProcessingUnit, UVC_PU_CONTRAST_CONTROL, 40, 2) +
                  SetCur(kProcessingUnit, UVC_PU_HUE_CONTROL, -45, 2) +
                  SetCur(kProcessingUnit, UVC_PU_SATURATION_CONTROL, 57, 2) +
                  SetCur(kProcessingUnit, UVC_PU_SHARPNESS_CONTROL, 6, 2) +
                  SetCur(kProcessingUnit, UVC_PU_WHITE_BALANCE_TEMPERATURE_AUTO_CONTROL, 0, 1) +
                  SetCur(kProcessingUnit, UVC_PU_WHITE_BALANCE_TEMPERATURE_CONTROL, 5200, 2) +
                  SetCur(kCameraTerminal, UVC_CT_AE_MODE_CONTROL, 1, 1) +
                  SetCur(kCameraTerminal, UVC_CT_EXPOSURE_TIME_ABSOLUTE_CONTROL, 20, 4),
              SetCurLog());
    EXPECT_EQ(saved, Values(m_node));
    std::printf("uvc: vk37load %.0f ms (matching), %.0f ms (changed); vk37save %.0f ms\n",
                matching.ms, restore.ms, save.ms);
}

// The second configuration's sharpness keeps its value whatever is written:
// the restore writes it once, reads it back unchanged, reports it and ends
// with 3, while the brightness beside it is restored.
TEST_F(UvcSecond, LoadReportsTheControlTheCameraKeeps) {
    CScratchDirectory scratch;
    ASSERT_EQ(0, RunProgram(kSave + m_node + " -C " + scratch.Path()).status);
    std::string file = FileBytes(scratch.ParameterFile());
    const size_t value = file.find("V_LVALUE=6", file.find("[SHARPNESS]"));
    ASSERT_NE(std::string::npos, value) << file;
    file.replace(value, 10, "V_LVALUE=2");
    std::ofstream(scratch.ParameterFile(), std::ios::binary) << file;
    ASSERT_TRUE(SetControl(m_node, "brightness", 30));
    const std::string before = SetCurLog();

    const CommandRun restore = RunProgram(kLoad + m_node + " -C " + scratch.Path());
    EXPECT_EQ(3, restore.status) << restore.out << restore.err;
    EXPECT_NE(std::string::npos, (restore.out + restore.err).find("SHARPNESS"))
        << restore.out << restore.err;
    EXPECT_EQ(before + SetCur(kProcessingUnit, UVC_PU_BRIGHTNESS_CONTROL, -20, 2) +
                  SetCur(kProcessingUnit, UVC_PU_SHARPNESS_CONTROL, 2, 2, " refused"),
              SetCurLog());
    EXPECT_EQ(-20, Values(m_node)["brightness"]);
    EXPECT_EQ(6, Values(m_node)["sharpness"]);
}

// Last, as it unplugs the camera: it leaves at the first request of the
// restore, the GET_CUR of the sharpness it keeps (uvcvideo caches no value
// of it), which uvcvideo fails with EPROTO. vk37load must end with 2 there.
TEST_F(UvcSecond, LoadSaysWhereTheCameraLeft) {
    CScratchDirectory scratch;
    ASSERT_EQ(0, RunProgram(kSave + m_node + " -C " + scratch.Path()).status);
    std::ofstream(std::string(std::getenv("VK37_UVC_LOG")) + ".unplug").close();
    const CommandRun restore = RunProgram(kLoad + m_node + " -C " + scratch.Path());
    EXPECT_EQ(2, restore.status) << restore.out << restore.err;
    EXPECT_NE(std::string::npos,
              restore.err.find("left the system at SHARPNESS; written before that: nothing"))
        << restore.out << restore.err;
}

} // namespace
