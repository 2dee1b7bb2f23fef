// CCaptureDevice: the list of video input devices the system reports, the
// filter of the device bound last and its two property interfaces. It is the
// program's only link to camera hardware; every call reports through its
// status code and never shows anything.
#pragma once

#include "platform/comptr.h"
#include "platform/directshow.h"

#include <string>
#include <vector>

// The name a list shows for a device whose friendly name cannot be read, so
// the list keeps one entry per device and positions stay aligned: the string
// table's IDS_UNKNOWN_DEVICE of res/resource.h, in the program's language.
inline constexpr UINT kUnknownDeviceStringId = 152;
std::wstring UnknownDeviceName();

// One property as a range query and a value query report it.
struct PropertyReading {
    LONG lMin;
    LONG lMax;
    LONG lSteppingDelta;
    LONG lDefault;
    LONG lCapsFlags; // the value query's flags overwrite the range query's
    LONG lValue;
};

class CCaptureDevice {
public:
    CCaptureDevice() = default;
    ~CCaptureDevice();
    CCaptureDevice(const CCaptureDevice&) = delete;
    CCaptureDevice& operator=(const CCaptureDevice&) = delete;

    // Empties the device list. Enumeration appends, so callers clear first.
    void ClearDevices();
    // Appends the devices of the video input category, in the enumerator's order.
    HRESULT EnumerateDevices();
    int DeviceCount() const;
    // The friendly name of the device at position; name is left alone on failure.
    HRESULT GetDeviceName(int position, std::wstring& name) const;
    // The name as the system reports it, without anything a list adds to tell
    // namesakes apart (on Linux a " (bus info)" or " (node)" suffix); where
    // nothing is added, the friendly name. name is left alone on failure.
    HRESULT GetDevicePlainName(int position, std::wstring& name) const;
    // The device's path as the system reports it ("DevicePath": the node on
    // Linux, the device interface path on Windows). path is left alone on failure.
    HRESULT GetDevicePath(int position, std::wstring& path) const;
    // What tells the device at position apart from every other: its moniker's
    // display name (on Windows the device path). id is left alone on failure.
    HRESULT GetDeviceId(int position, std::wstring& id) const;
    // The position of the device whose id is id, or -1.
    int FindDevice(const std::wstring& id) const;
    // Binds the device at position to its capture filter, into *ppFilter.
    HRESULT BindDevice(int position, IBaseFilter** ppFilter) const;
    HRESULT ReadProcAmpProperty(LONG property, PropertyReading* reading) const;
    HRESULT ReadCameraControlProperty(LONG property, PropertyReading* reading) const;

    // The three interface slots that a save fills.
    ComPtr<IBaseFilter>& FilterSlot() { return m_pFilter; }
    ComPtr<IAMVideoProcAmp>& ProcAmpSlot() { return m_pProcAmp; }
    ComPtr<IAMCameraControl>& CameraControlSlot() { return m_pCameraControl; }

private:
    struct DeviceEntry {
        ComPtr<IMoniker> moniker;
    };

    IMoniker* MonikerAt(int position) const;
    // A string property of the device's property bag.
    HRESULT ReadBagString(int position, LPCOLESTR property, std::wstring& value) const;

    std::vector<DeviceEntry> m_devices;
    ComPtr<IBaseFilter> m_pFilter;
    ComPtr<IAMVideoProcAmp> m_pProcAmp;
    ComPtr<IAMCameraControl> m_pCameraControl;
};
