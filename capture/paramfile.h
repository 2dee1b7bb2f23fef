// The parameter file: where it lives, its sections and keys in the order a
// save writes them, and how values are spelled.
#pragma once

#include "platform/directshow.h"

#include <string>

namespace paramfile {

// Relative on purpose: the file lands in the current directory.
inline constexpr const wchar_t* kPath = L".\\VK37.INI";

inline constexpr const wchar_t* kSystemSection = L"SYSTEM";
inline constexpr const wchar_t* kPortKey = L"PORT";

struct PropertyRow {
    const wchar_t* section;
    LONG property;
};

// Read through the video-processing amplifier, in file order.
inline constexpr PropertyRow kProcAmpRows[] = {
    {L"BRIGHTNESS", VideoProcAmp_Brightness},
    {L"CONTRAST", VideoProcAmp_Contrast},
    {L"HUE", VideoProcAmp_Hue},
    {L"SATURATION", VideoProcAmp_Saturation},
    {L"SHARPNESS", VideoProcAmp_Sharpness},
    {L"COLORENABLE", VideoProcAmp_ColorEnable},
    {L"WHITEBALANCE", VideoProcAmp_WhiteBalance},
};

// Read through the camera control, after the amplifier rows.
inline constexpr PropertyRow kExposureRow = {L"EXPOSURE", CameraControl_Exposure};

// The six keys of every property section, in the order they are written:
// range minimum, maximum, step, default, the current flags, the current value.
inline constexpr const wchar_t* kPropertyKeys[] = {
    L"V_PMIN", L"V_PMAX", L"V_PSTEPPINGDELTA", L"V_PDEFAULT", L"V_PCAPSFLAGS", L"V_LVALUE",
};
inline constexpr int kPropertyKeyCount = 6;

// The value text of an unreadable property.
inline constexpr const wchar_t* kEmptyValue = L"";

// Decimal, as "%d" spells it.
std::wstring FormatValue(LONG value);

} // namespace paramfile
