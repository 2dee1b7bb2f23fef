// The restore's file side on a fake camera: which sections are skipped or
// refused and why, and exactly which Set calls reach the camera, in order.
#include "capture/restoreparameters.h"
#include "fakecamera.h"
#include "fixture.h"

#include <map>
#include <sstream>

namespace {

using ::testing::_, ::testing::Return;

// One letter per property section, in file order.
std::string Letters(const std::vector<PropertyResult>& results) {
    std::string letters;
    for (const PropertyResult& r : results)
        letters += "iwdeabornftg"[static_cast<int>(r.outcome)];
    return letters;
}

struct RestoreCase {
    const char* label;
    // "SECTION.KEY=text" sets a key, "SECTION-" drops the section.
    std::string edits;
    // i in place, w written, d differs, e empty, a absent, b bad number,
    // o outside its range, r range differs, n not on the camera, f refused,
    // t not taken, g the camera is gone.
    std::string outcomes;
    std::string calls;
    bool checkOnly = false;
    std::function<void(CFakeCamera&)> prepare = nullptr;
    std::function<HRESULT(LONG)> refuse = nullptr; // the amplifier's answer to Set
    RestoreOutcome outcome = RestoreOutcome::Done;
    bool defaults = false; // the camera's own defaults instead of the file
};

const char* const kAllChanged = "BRIGHTNESS.V_LVALUE=70 CONTRAST.V_LVALUE=71 HUE.V_LVALUE=72 "
                                "SATURATION.V_LVALUE=73 SHARPNESS.V_LVALUE=74 "
                                "COLORENABLE.V_LVALUE=76 WHITEBALANCE.V_LVALUE=77 "
                                "EXPOSURE.V_LVALUE=-5 EXPOSURE.V_PCAPSFLAGS=2";

class RestoreTest : public CaptureTest {
protected:
    // The file a save of camera writes, with edits applied.
    void WriteFile(const CFakeCamera& camera, const std::string& edits) {
        std::vector<std::pair<std::string, std::map<std::string, std::string>>> sections;
        for (const std::string& line : ExpectedFile(0, camera, true)) {
            const size_t equals = line.find('=');
            if (line[0] == '[')
                sections.push_back({line.substr(1, line.size() - 2), {}});
            else
                sections.back().second[line.substr(0, equals)] = line.substr(equals + 1);
        }
        std::istringstream words(edits);
        for (std::string edit; words >> edit;) {
            const size_t dot = edit.find_first_of(".-");
            for (auto it = sections.begin(); it != sections.end(); ++it) {
                if (it->first != edit.substr(0, dot))
                    continue;
                const size_t equals = edit.find('=');
                if (edit[dot] == '-')
                    sections.erase(it);
                else
                    it->second[edit.substr(dot + 1, equals - dot - 1)] = edit.substr(equals + 1);
                break;
            }
        }
        std::ofstream out(IniPath(), std::ios::binary);
        for (const auto& [name, keys] : sections) {
            out << "[" << name << "]\r\n";
            for (const auto& [key, value] : keys)
                out << key << "=" << value << "\r\n";
        }
    }
};

TEST_F(RestoreTest, EachFileGivesItsOutcomesAndExactlyItsWrites) {
    // clang-format off
    const RestoreCase cases[] = {
        {"a file that matches writes nothing", "", "iiiiiiii", ""},
        {"every property changed: one Set each, manual", kAllChanged, "wwwwwwww",
         "0:70:2 1:71:2 2:72:2 3:73:2 4:74:2 6:76:2 7:77:2 c4:-5:2"},
        {"automatic: the value stays the camera's",
         "WHITEBALANCE.V_PCAPSFLAGS=1 WHITEBALANCE.V_LVALUE=99", "iiiiiiwi", "7:67:1"},
        {"automatic in the file but not on the camera: the value",
         "HUE.V_PCAPSFLAGS=1 HUE.V_LVALUE=90", "iiwiiiii", "2:90:2", false,
         [](CFakeCamera& c) { c.procAmpProps[2].capsFlags = 2; }},
        {"empty and missing sections are skipped",
         "HUE- SHARPNESS.V_PMIN= SHARPNESS.V_PMAX= SHARPNESS.V_PSTEPPINGDELTA= "
         "SHARPNESS.V_PDEFAULT= SHARPNESS.V_PCAPSFLAGS= SHARPNESS.V_LVALUE=", "iiaieiii", ""},
        {"not numbers, past 32 bits, partly empty: not written",
         "BRIGHTNESS.V_PDEFAULT= CONTRAST.V_LVALUE=12abc SATURATION.V_PMAX=2147483648 "
         "SHARPNESS.V_LVALUE=+74 COLORENABLE.V_PMIN=-2147483649 "
         "WHITEBALANCE.V_LVALUE=99999999999999999999", "bbibbbbi", ""},
        {"the 32-bit ends are numbers; another range or step is not written",
         "BRIGHTNESS.V_PMIN=-2147483648 CONTRAST.V_PMAX=2147483647 HUE.V_PSTEPPINGDELTA=2 "
         "HUE.V_LVALUE=70", "rrriiiii", ""},
        {"a value outside the file's own range", "SHARPNESS.V_LVALUE=105", "iiiioiii", ""},
        {"checking compares and writes nothing", kAllChanged, "dddddddd", "", true},
        {"refused, and answered but not taken", "CONTRAST.V_LVALUE=70 HUE.V_LVALUE=70",
         "iftiiiii", "1:70:2 2:70:2", false, nullptr,
         [](LONG id) { return id == 1 ? E_FAIL : id == 2 ? S_FALSE : S_OK; }},
        {"the camera leaves part-way: nothing after it is tried",
         "CONTRAST.V_LVALUE=70 HUE.V_LVALUE=70", "ig", "1:70:2", false, nullptr,
         [](LONG id) { return id == 1 ? HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED) : S_OK; },
         RestoreOutcome::DeviceGone},
        {"without the camera control exposure is missing", "", "iiiiiiin", "", false,
         [](CFakeCamera& c) { c.filter.cameraControl = nullptr; }},
        {"a camera that cannot be bound is not touched", kAllChanged, "", "", false,
         [](CFakeCamera& c) { c.moniker.bindResult = E_ACCESSDENIED; }, nullptr,
         RestoreOutcome::NotOpened},
        // No default mode reported (a plain DirectShow object): the mode stays.
        {"defaults: manual properties get their default values, automatic exposure stays",
         "", "wwwwwwwi", "0:50:2 1:51:2 2:52:2 3:53:2 4:54:2 6:56:2 7:57:2", false, nullptr,
         nullptr, RestoreOutcome::Done, true},
        {"defaults: a property the camera lacks is skipped, an automatic one stays", "",
         "iweiwwwi", "1:51:2 4:54:2 6:56:2 7:57:2", false,
         [](CFakeCamera& c) {
             c.procAmpProps.erase(2);
             c.procAmpProps[0].flags = VideoProcAmp_Flags_Auto;
             c.procAmpProps[3].value = 53; // its default already
         }, nullptr, RestoreOutcome::Done, true},
        {"defaults: the camera leaves while they are read", "", "g", "", false,
         [](CFakeCamera& c) {
             ON_CALL(c.procAmp, GetRange(VideoProcAmp_Contrast, _, _, _, _, _))
                 .WillByDefault(Return(HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST)));
         }, nullptr, RestoreOutcome::DeviceGone, true},
    };
    // clang-format on
    for (const RestoreCase& c : cases) {
        SCOPED_TRACE(c.label);
        CFakeCamera camera(L"Cam A", 0);
        std::string calls;
        fakes::AcceptWrites(camera.procAmp, camera.procAmpProps, &calls, c.refuse);
        fakes::AcceptWrites(camera.camera, camera.cameraProps, &calls);
        if (c.prepare)
            c.prepare(camera);
        m_devEnum.devices = {&camera.moniker};
        WriteFile(camera, c.edits);

        ParameterFile file;
        ReadParameterFile(L".\\VK37.INI", &file);
        std::vector<PropertyResult> results;
        ParameterFile defaults;
        {
            CCaptureDevice device;
            device.EnumerateDevices();
            EXPECT_EQ(c.defaults ? RestoreDefaults(device, 0, c.checkOnly, &defaults, &results)
                                 : RestoreParameters(device, 0, file, c.checkOnly, &results),
                      c.outcome);
        }
        EXPECT_EQ(Letters(results), c.outcomes);
        EXPECT_EQ(calls, c.calls);
    }
}

} // namespace
