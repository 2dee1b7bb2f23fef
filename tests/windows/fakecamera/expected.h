// The VK37.INI a save writes, from a fresh file, for the fake camera at a
// position, derived from cameras.h. Laid out byte for byte as Wine's
// WritePrivateProfileStringW writes a new file: no BOM, CRLF after every line,
// no blank line between sections.
#pragma once

#include "tests/windows/fakecamera/cameras.h"

#include <string>

namespace fakecamera {

// Kept apart from the program's own tables so a mistake there shows here.
struct FileRow {
    const char* section;
    bool cameraControl; // read through IAMCameraControl, else IAMVideoProcAmp
    int property;
};

inline constexpr FileRow kFileRows[] = {
    {"BRIGHTNESS", false, 0},   {"CONTRAST", false, 1},  {"HUE", false, 2},
    {"SATURATION", false, 3},   {"SHARPNESS", false, 4}, {"COLORENABLE", false, 6},
    {"WHITEBALANCE", false, 7}, {"EXPOSURE", true, 4},
};

inline std::string ExpectedParameterFile(int position) {
    const Camera& camera = kCameras[position];
    std::string text = "[SYSTEM]\r\nPORT=" + std::to_string(position) + "\r\n";
    for (const FileRow& row : kFileRows) {
        if (row.cameraControl && !camera.hasCameraControl)
            continue;
        const Property& p =
            row.cameraControl ? camera.cameraControl[row.property] : camera.procAmp[row.property];
        // The caps key holds the flags of Get, which overwrite those of GetRange.
        const std::int32_t values[] = {p.min, p.max, p.step, p.def, p.flags, p.value};
        const char* keys[] = {"V_PMIN",     "V_PMAX",       "V_PSTEPPINGDELTA",
                              "V_PDEFAULT", "V_PCAPSFLAGS", "V_LVALUE"};
        text += std::string("[") + row.section + "]\r\n";
        for (int i = 0; i < 6; ++i) {
            text += keys[i];
            text += '=';
            if (p.failure == Failure::none)
                text += std::to_string(values[i]);
            text += "\r\n";
        }
    }
    return text;
}

} // namespace fakecamera
