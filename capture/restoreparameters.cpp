// The restore: for each property the camera's range is read first and must be
// the file's; a value already in place is left alone; a write is read back.
// The amplifier and the camera control share the shapes of their calls, so
// one template serves both.
#include "capture/restoreparameters.h"

#include "platform/propertydefault.h"

namespace {

constexpr LONG kAuto = VideoProcAmp_Flags_Auto; // the camera-control flags share the values
constexpr LONG kManual = VideoProcAmp_Flags_Manual;

// What a device that was unplugged answers, on either system.
bool IsGone(HRESULT hr) {
    return hr == HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED) ||
           hr == HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
}

// A failed call: an unplugged device ends the restore, anything else is
// this property's own outcome.
void Fail(PropertyResult& result, PropertyOutcome outcome) {
    result.outcome = IsGone(result.hr) ? PropertyOutcome::DeviceGone : outcome;
}

// Whether the camera holds what the file asks for.
bool Holds(const PropertyResult& result) {
    if (result.wantAuto)
        return (result.flags & kAuto) != 0;
    return (result.flags & kAuto) == 0 && result.value == result.file->reading.lValue;
}

template <class Interface>
void RestoreProperty(Interface* itf, bool checkOnly, PropertyResult& result) {
    const PropertyReading& file = result.file->reading;
    const LONG property = result.file->row.property;
    if (itf == nullptr) {
        result.outcome = PropertyOutcome::NotOnCamera;
        result.hr = E_NOINTERFACE;
        return;
    }
    PropertyReading& range = result.range;
    result.hr = itf->GetRange(property, &range.lMin, &range.lMax, &range.lSteppingDelta,
                              &range.lDefault, &range.lCapsFlags);
    if (SUCCEEDED(result.hr) && (range.lMin != file.lMin || range.lMax != file.lMax ||
                                 range.lSteppingDelta != file.lSteppingDelta)) {
        result.outcome = PropertyOutcome::RangeDiffers;
        return;
    }
    if (SUCCEEDED(result.hr))
        result.hr = itf->Get(property, &result.value, &result.flags);
    if (FAILED(result.hr)) {
        Fail(result, PropertyOutcome::NotOnCamera);
        return;
    }
    result.hr = S_OK;

    // Automatic where the file says so and the camera has an automatic mode;
    // a property without one takes the value.
    result.wantAuto = (file.lCapsFlags & kAuto) != 0 && (range.lCapsFlags & kAuto) != 0;
    if (!result.wantAuto && (file.lValue < file.lMin || file.lValue > file.lMax)) {
        result.outcome = PropertyOutcome::OutOfRange;
        return;
    }
    if (Holds(result)) {
        result.outcome = PropertyOutcome::InPlace;
        return;
    }
    if (checkOnly) {
        result.outcome = PropertyOutcome::Differs;
        return;
    }

    // Automatic mode leaves the value to the camera, so the value sent with
    // it is the one the camera holds.
    result.hr = result.wantAuto ? itf->Set(property, result.value, kAuto)
                                : itf->Set(property, file.lValue, kManual);
    if (FAILED(result.hr)) {
        Fail(result, PropertyOutcome::Refused);
        return;
    }
    result.hr = itf->Get(property, &result.value, &result.flags);
    if (FAILED(result.hr)) {
        Fail(result, PropertyOutcome::NotTaken);
        return;
    }
    result.hr = S_OK;
    result.outcome = Holds(result) ? PropertyOutcome::Written : PropertyOutcome::NotTaken;
}

// The camera's default of one property as a file section would hold it. A
// property the camera cannot report stays an empty section; false when the
// camera left the system.
template <class Interface> bool DefaultTarget(Interface* itf, FileProperty& target) {
    target.state = FileSectionState::Empty;
    if (itf == nullptr)
        return true;
    const LONG property = target.row.property;
    PropertyReading& t = target.reading;
    HRESULT hr =
        itf->GetRange(property, &t.lMin, &t.lMax, &t.lSteppingDelta, &t.lDefault, &t.lCapsFlags);
    PropertyDefault def;
    if (SUCCEEDED(hr))
        hr = GetPropertyDefault(itf, property, &def);
    if (FAILED(hr))
        return !IsGone(hr);
    t.lValue = def.lValue;
    t.lCapsFlags = def.lFlags;
    target.state = FileSectionState::Numbers;
    return true;
}

// Binds the device at position into the holder's slots; false when neither
// property interface can be had.
bool OpenDevice(CCaptureDevice& device, int position) {
    ComPtr<IBaseFilter>& filter = device.FilterSlot();
    ComPtr<IAMVideoProcAmp>& procAmp = device.ProcAmpSlot();
    ComPtr<IAMCameraControl>& cameraControl = device.CameraControlSlot();
    procAmp.Release();
    cameraControl.Release();
    if (device.BindDevice(position, filter.ReleaseAndGetAddressOf()) != S_OK || !filter)
        return false;
    filter->QueryInterface(IID_IAMVideoProcAmp, procAmp.ReleaseAndGetAddressOfVoid());
    filter->QueryInterface(IID_IAMCameraControl, cameraControl.ReleaseAndGetAddressOfVoid());
    return procAmp || cameraControl;
}

} // namespace

bool IsShortfall(PropertyOutcome outcome) {
    switch (outcome) {
    case PropertyOutcome::InPlace:
    case PropertyOutcome::Written:
    case PropertyOutcome::SkippedEmpty:
    case PropertyOutcome::SkippedAbsent:
        return false;
    default:
        return true;
    }
}

// The restore on the device the holder has open, in file order.
static RestoreOutcome RestoreOpened(CCaptureDevice& device, const ParameterFile& file,
                                    bool checkOnly, std::vector<PropertyResult>* results) {
    ComPtr<IAMVideoProcAmp>& procAmp = device.ProcAmpSlot();
    ComPtr<IAMCameraControl>& cameraControl = device.CameraControlSlot();
    for (const FileProperty& property : file.properties) {
        PropertyResult result;
        result.file = &property;
        switch (property.state) {
        case FileSectionState::Missing:
            result.outcome = PropertyOutcome::SkippedAbsent;
            break;
        case FileSectionState::Empty:
            result.outcome = PropertyOutcome::SkippedEmpty;
            break;
        case FileSectionState::BadNumber:
            result.outcome = PropertyOutcome::BadNumber;
            break;
        case FileSectionState::Numbers:
            if (property.cameraControl)
                RestoreProperty(cameraControl.Get(), checkOnly, result);
            else
                RestoreProperty(procAmp.Get(), checkOnly, result);
            break;
        }
        results->push_back(result);
        if (result.outcome == PropertyOutcome::DeviceGone)
            return RestoreOutcome::DeviceGone;
    }
    return RestoreOutcome::Done;
}

RestoreOutcome RestoreParameters(CCaptureDevice& device, int position, const ParameterFile& file,
                                 bool checkOnly, std::vector<PropertyResult>* results) {
    results->clear();
    if (!OpenDevice(device, position))
        return RestoreOutcome::NotOpened;
    return RestoreOpened(device, file, checkOnly, results);
}

RestoreOutcome RestoreDefaults(CCaptureDevice& device, int position, bool checkOnly,
                               ParameterFile* targets, std::vector<PropertyResult>* results) {
    results->clear();
    *targets = ParameterFile();
    if (!OpenDevice(device, position))
        return RestoreOutcome::NotOpened;
    int i = 0;
    for (const paramfile::PropertyRow& row : paramfile::kProcAmpRows)
        targets->properties[i++].row = row;
    targets->properties[i].row = paramfile::kExposureRow;
    targets->properties[i].cameraControl = true;
    for (FileProperty& target : targets->properties) {
        const bool present = target.cameraControl
                                 ? DefaultTarget(device.CameraControlSlot().Get(), target)
                                 : DefaultTarget(device.ProcAmpSlot().Get(), target);
        if (!present) {
            // Gone while its defaults were read: reported where it happened.
            PropertyResult result;
            result.file = &target;
            result.outcome = PropertyOutcome::DeviceGone;
            results->push_back(result);
            return RestoreOutcome::DeviceGone;
        }
    }
    return RestoreOpened(device, *targets, checkOnly, results);
}
