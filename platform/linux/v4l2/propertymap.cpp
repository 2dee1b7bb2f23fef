// The property tables and the range and value queries and the value write
// built on them.
#include "platform/linux/v4l2/propertymap.h"

#include "platform/directshow.h"
#include "platform/linux/v4l2/controls.h"
#include "platform/linux/v4l2/conversion.h"

#include <iterator>

namespace {

// The amplifier and camera-control flag words share their values.
constexpr LONG kFlagsAuto = VideoProcAmp_Flags_Auto;
constexpr LONG kFlagsManual = VideoProcAmp_Flags_Manual;

enum class CConversion { Raw, Log2Seconds, ColorEnable };
enum class CAutoKind { None, Switch, ExposureMode };

struct CControlChoice {
    uint32_t id;
    CConversion conversion;
};

struct CPropertyMapping {
    LONG property;
    // Tried in order; the second answers only when the first is unsupported.
    CControlChoice controls[2];
    uint32_t autoId;
    CAutoKind autoKind;
};

constexpr CPropertyMapping kProcAmp[] = {
    {VideoProcAmp_Brightness,
     {{V4L2_CID_BRIGHTNESS, CConversion::Raw}},
     V4L2_CID_AUTOBRIGHTNESS,
     CAutoKind::Switch},
    {VideoProcAmp_Contrast, {{V4L2_CID_CONTRAST, CConversion::Raw}}, 0, CAutoKind::None},
    {VideoProcAmp_Hue, {{V4L2_CID_HUE, CConversion::Raw}}, V4L2_CID_HUE_AUTO, CAutoKind::Switch},
    {VideoProcAmp_Saturation, {{V4L2_CID_SATURATION, CConversion::Raw}}, 0, CAutoKind::None},
    {VideoProcAmp_Sharpness, {{V4L2_CID_SHARPNESS, CConversion::Raw}}, 0, CAutoKind::None},
    {VideoProcAmp_Gamma, {{V4L2_CID_GAMMA, CConversion::Raw}}, 0, CAutoKind::None},
    {VideoProcAmp_ColorEnable, {{V4L2_CID_COLORFX, CConversion::ColorEnable}}, 0, CAutoKind::None},
    {VideoProcAmp_WhiteBalance,
     {{V4L2_CID_WHITE_BALANCE_TEMPERATURE, CConversion::Raw}},
     V4L2_CID_AUTO_WHITE_BALANCE,
     CAutoKind::Switch},
    {VideoProcAmp_BacklightCompensation,
     {{V4L2_CID_BACKLIGHT_COMPENSATION, CConversion::Raw}},
     0,
     CAutoKind::None},
    {VideoProcAmp_Gain, {{V4L2_CID_GAIN, CConversion::Raw}}, V4L2_CID_AUTOGAIN, CAutoKind::Switch},
};

// V4L2_CID_EXPOSURE has no defined unit, so its values pass through as they
// are; so do focus and zoom, whose units V4L2 leaves to the camera, as
// DirectShow does.
constexpr CPropertyMapping kCameraControl[] = {
    {CameraControl_Exposure,
     {{V4L2_CID_EXPOSURE_ABSOLUTE, CConversion::Log2Seconds},
      {V4L2_CID_EXPOSURE, CConversion::Raw}},
     V4L2_CID_EXPOSURE_AUTO,
     CAutoKind::ExposureMode},
    {CameraControl_Focus,
     {{V4L2_CID_FOCUS_ABSOLUTE, CConversion::Raw}},
     V4L2_CID_FOCUS_AUTO,
     CAutoKind::Switch},
    {CameraControl_Zoom, {{V4L2_CID_ZOOM_ABSOLUTE, CConversion::Raw}}, 0, CAutoKind::None},
};

struct CMappingTable {
    const CPropertyMapping* first;
    const CPropertyMapping* last;
};

CMappingTable TableOf(CPropertySet set) {
    if (set == CPropertySet::ProcAmp)
        return {std::begin(kProcAmp), std::end(kProcAmp)};
    return {std::begin(kCameraControl), std::end(kCameraControl)};
}

const CPropertyMapping* FindMapping(CPropertySet set, LONG property) {
    const CMappingTable table = TableOf(set);
    for (const CPropertyMapping* mapping = table.first; mapping != table.last; ++mapping)
        if (mapping->property == property)
            return mapping;
    return nullptr;
}

// The first usable control of the mapping, described into *info.
HRESULT Resolve(const CV4l2Device& device, const CPropertyMapping& mapping, CControlInfo* info,
                CConversion* conversion) {
    HRESULT hr = E_PROP_ID_UNSUPPORTED;
    for (const CControlChoice& choice : mapping.controls) {
        if (choice.id == 0)
            break;
        hr = QueryControl(device, choice.id, info);
        if (hr != E_PROP_ID_UNSUPPORTED) {
            *conversion = choice.conversion;
            return hr;
        }
    }
    return hr;
}

LONG Convert(CConversion conversion, int64_t value) {
    switch (conversion) {
    case CConversion::Log2Seconds:
        return ExposureToLog2Seconds(value);
    case CConversion::ColorEnable:
        return ColorEnableFromEffect(value);
    case CConversion::Raw:
        break;
    }
    return ClampToLong(value);
}

// S_OK and *present when the companion exists, S_OK and !*present when it
// does not; a failure only when the device could not be asked.
HRESULT QueryCompanion(const CV4l2Device& device, const CPropertyMapping& mapping,
                       CControlInfo* info, bool* present) {
    *present = false;
    if (mapping.autoKind == CAutoKind::None)
        return S_OK;
    const HRESULT hr = QueryControl(device, mapping.autoId, info);
    if (hr == E_PROP_ID_UNSUPPORTED)
        return S_OK;
    *present = hr == S_OK;
    return hr;
}

// A property as the node answers it: its mapping, its first usable control
// and how that converts, and its auto companion if it has one.
struct CResolvedProperty {
    const CPropertyMapping* mapping = nullptr;
    CControlInfo info;
    CConversion conversion = CConversion::Raw;
    CControlInfo companion;
    bool hasAuto = false;
};

HRESULT ResolveProperty(const CV4l2Device& device, CPropertySet set, LONG property,
                        CResolvedProperty* resolved) {
    resolved->mapping = FindMapping(set, property);
    if (resolved->mapping == nullptr)
        return E_PROP_ID_UNSUPPORTED;
    const HRESULT hr = Resolve(device, *resolved->mapping, &resolved->info, &resolved->conversion);
    if (hr != S_OK)
        return hr;
    return QueryCompanion(device, *resolved->mapping, &resolved->companion, &resolved->hasAuto);
}

bool AutoIsOn(CAutoKind kind, int64_t companionValue) {
    if (kind == CAutoKind::ExposureMode)
        return companionValue != V4L2_EXPOSURE_MANUAL &&
               companionValue != V4L2_EXPOSURE_SHUTTER_PRIORITY;
    return companionValue != 0;
}

// The exposure mode menu has two automatic modes, and a camera often offers
// only one of them: aperture priority on most webcams.
HRESULT SwitchAuto(const CV4l2Device& device, const CResolvedProperty& p, bool on) {
    int64_t mode = 0;
    HRESULT hr = ReadControl(device, p.companion, &mode);
    if (hr != S_OK || AutoIsOn(p.mapping->autoKind, mode) == on)
        return hr;
    if (p.mapping->autoKind == CAutoKind::Switch)
        return WriteControl(device, p.companion, on ? 1 : 0);
    if (!on)
        return WriteControl(device, p.companion, V4L2_EXPOSURE_MANUAL);
    hr = E_INVALIDARG;
    for (const int64_t automatic : {V4L2_EXPOSURE_APERTURE_PRIORITY, V4L2_EXPOSURE_AUTO}) {
        if (automatic < p.companion.minimum || automatic > p.companion.maximum)
            continue;
        hr = WriteControl(device, p.companion, automatic);
        if (hr != E_INVALIDARG)
            return hr;
    }
    return hr;
}

// A DirectShow value in the control's own units; E_INVALIDARG outside the
// range the range query reports.
HRESULT ToControlValue(const CResolvedProperty& p, LONG value, int64_t* raw) {
    const CControlInfo& info = p.info;
    switch (p.conversion) {
    case CConversion::ColorEnable:
        if (value != 0 && value != 1)
            return E_INVALIDARG;
        *raw = EffectFromColorEnable(value);
        return S_OK;
    case CConversion::Log2Seconds:
        if (value < ExposureToLog2Seconds(info.minimum) ||
            value > ExposureToLog2Seconds(info.maximum))
            return E_INVALIDARG;
        *raw = ExposureFromLog2Seconds(value, info.minimum, info.maximum, info.step);
        return S_OK;
    case CConversion::Raw:
        break;
    }
    if (value < info.minimum || value > info.maximum)
        return E_INVALIDARG;
    *raw = value;
    return S_OK;
}

} // namespace

HRESULT GetPropertyRange(const CV4l2Device& device, CPropertySet set, LONG property,
                         CPropertyRange* range) {
    CResolvedProperty p;
    const HRESULT hr = ResolveProperty(device, set, property, &p);
    if (hr != S_OK)
        return hr;
    const CControlInfo& info = p.info;

    CPropertyRange result;
    switch (p.conversion) {
    case CConversion::ColorEnable:
        result.lMin = 0;
        result.lMax = 1;
        result.lSteppingDelta = 1;
        break;
    case CConversion::Log2Seconds:
        result.lMin = ExposureToLog2Seconds(info.minimum);
        result.lMax = ExposureToLog2Seconds(info.maximum);
        result.lSteppingDelta = 1;
        break;
    case CConversion::Raw:
        result.lMin = ClampToLong(info.minimum);
        result.lMax = ClampToLong(info.maximum);
        result.lSteppingDelta = ClampToLong(info.step);
        break;
    }
    result.lDefault = Convert(p.conversion, info.defaultValue);
    result.lCapsFlags = kFlagsManual | (p.hasAuto ? kFlagsAuto : 0);
    *range = result;
    return S_OK;
}

HRESULT GetPropertyValue(const CV4l2Device& device, CPropertySet set, LONG property, LONG* value,
                         LONG* flags) {
    CResolvedProperty p;
    HRESULT hr = ResolveProperty(device, set, property, &p);
    if (hr != S_OK)
        return hr;
    int64_t raw = 0;
    hr = ReadControl(device, p.info, &raw);
    if (hr != S_OK)
        return hr;
    bool automatic = false;
    if (p.hasAuto) {
        int64_t mode = 0;
        hr = ReadControl(device, p.companion, &mode);
        if (hr != S_OK)
            return hr;
        automatic = AutoIsOn(p.mapping->autoKind, mode);
    }
    *value = Convert(p.conversion, raw);
    *flags = automatic ? kFlagsAuto : kFlagsManual;
    return S_OK;
}

HRESULT GetPropertyDefault(const CV4l2Device& device, CPropertySet set, LONG property,
                           PropertyDefault* def) {
    CResolvedProperty p;
    const HRESULT hr = ResolveProperty(device, set, property, &p);
    if (hr != S_OK)
        return hr;
    def->lValue = Convert(p.conversion, p.info.defaultValue);
    const bool automatic = p.hasAuto && AutoIsOn(p.mapping->autoKind, p.companion.defaultValue);
    def->lFlags = automatic ? kFlagsAuto : kFlagsManual;
    return S_OK;
}

HRESULT SetPropertyValue(const CV4l2Device& device, CPropertySet set, LONG property, LONG value,
                         LONG flags) {
    const bool automatic = (flags & kFlagsAuto) != 0;
    if (automatic == ((flags & kFlagsManual) != 0))
        return E_INVALIDARG;
    CResolvedProperty p;
    HRESULT hr = ResolveProperty(device, set, property, &p);
    if (hr != S_OK)
        return hr;
    if (automatic)
        return p.hasAuto ? SwitchAuto(device, p, true) : E_INVALIDARG;

    int64_t raw = 0;
    hr = ToControlValue(p, value, &raw);
    if (hr != S_OK)
        return hr;
    // Off first: many cameras refuse, or ignore, a value while automatic.
    if (p.hasAuto && (hr = SwitchAuto(device, p, false)) != S_OK)
        return hr;
    int64_t current = 0;
    hr = ReadControl(device, p.info, &current);
    if (hr == S_OK && current == raw)
        return S_OK;
    return WriteControl(device, p.info, raw);
}

bool HasAnyProperty(const CV4l2Device& device, CPropertySet set) {
    const CMappingTable table = TableOf(set);
    for (const CPropertyMapping* mapping = table.first; mapping != table.last; ++mapping) {
        CControlInfo info;
        CConversion conversion;
        if (Resolve(device, *mapping, &info, &conversion) == S_OK)
            return true;
    }
    return false;
}
