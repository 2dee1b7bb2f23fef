// A fake camera whose every property answers, and the parameter file a
// save of it must produce, for the tests that save through fake cameras.
#pragma once

#include "fakes.h"

#include <map>
#include <string>
#include <vector>

inline const std::vector<std::string> kSections = {"BRIGHTNESS",   "CONTRAST",  "HUE",
                                                   "SATURATION",   "SHARPNESS", "COLORENABLE",
                                                   "WHITEBALANCE", "EXPOSURE"};
inline const std::vector<std::string> kKeys = {"V_PMIN",     "V_PMAX",       "V_PSTEPPINGDELTA",
                                               "V_PDEFAULT", "V_PCAPSFLAGS", "V_LVALUE"};

// A camera whose every property answers; values differ per property so
// that a value written under the wrong section shows.
struct CFakeCamera {
    fakes::CFakeMoniker moniker;
    fakes::CFakeFilter filter;
    ::testing::NiceMock<fakes::CMockProcAmp> procAmp;
    ::testing::NiceMock<fakes::CMockCameraControl> camera;
    std::map<LONG, fakes::Property> procAmpProps;
    std::map<LONG, fakes::Property> cameraProps;

    explicit CFakeCamera(const std::wstring& name, LONG base) {
        moniker.bag.name = name;
        moniker.displayName = L"@fake\\" + name;
        moniker.filter = &filter;
        filter.procAmp = &procAmp;
        filter.cameraControl = &camera;
        for (LONG id = 0; id <= 9; ++id)
            procAmpProps[id] = {base + id,
                                base + 100 + id,
                                1,
                                base + 50 + id,
                                VideoProcAmp_Flags_Auto | VideoProcAmp_Flags_Manual,
                                base + 60 + id,
                                VideoProcAmp_Flags_Manual};
        cameraProps[CameraControl_Exposure] = {-13, -1, 1, -6, 3, -6, CameraControl_Flags_Auto};
        fakes::Answer(procAmp, [this](LONG id) { return Find(procAmpProps, id); });
        fakes::Answer(camera, [this](LONG id) { return Find(cameraProps, id); });
    }

    static const fakes::Property* Find(const std::map<LONG, fakes::Property>& m, LONG id) {
        auto it = m.find(id);
        return it == m.end() ? nullptr : &it->second;
    }
};

// The expected lines of one property section.
inline std::vector<std::string> Section(const std::string& name, const fakes::Property* p) {
    std::vector<std::string> lines = {"[" + name + "]"};
    const LONG values[] = {p ? p->min : 0, p ? p->max : 0,   p ? p->step : 0,
                           p ? p->def : 0, p ? p->flags : 0, p ? p->value : 0};
    for (size_t i = 0; i < kKeys.size(); ++i)
        lines.push_back(kKeys[i] + "=" + (p ? std::to_string(values[i]) : ""));
    return lines;
}

inline std::vector<std::string> ExpectedFile(int port, const CFakeCamera& cam, bool withExposure) {
    std::vector<std::string> lines = {"[SYSTEM]", "PORT=" + std::to_string(port)};
    const LONG ids[] = {0, 1, 2, 3, 4, 6, 7};
    for (size_t i = 0; i < 7; ++i) {
        auto section = Section(kSections[i], CFakeCamera::Find(cam.procAmpProps, ids[i]));
        lines.insert(lines.end(), section.begin(), section.end());
    }
    if (withExposure) {
        auto section =
            Section("EXPOSURE", CFakeCamera::Find(cam.cameraProps, CameraControl_Exposure));
        lines.insert(lines.end(), section.begin(), section.end());
    }
    return lines;
}
