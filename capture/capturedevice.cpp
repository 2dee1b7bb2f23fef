// Device enumeration, naming, binding and property reads of CCaptureDevice.
#include "capture/capturedevice.h"

#include "platform/resourcestring.h"

namespace {

// The amplifier and the camera control share the shape of their range and
// value queries, so one reader serves both.
template <class Interface>
HRESULT ReadProperty(Interface* pInterface, LONG property, PropertyReading* reading) {
    if (pInterface == nullptr || reading == nullptr)
        return E_POINTER;
    HRESULT hr =
        pInterface->GetRange(property, &reading->lMin, &reading->lMax, &reading->lSteppingDelta,
                             &reading->lDefault, &reading->lCapsFlags);
    if (FAILED(hr))
        return hr;
    return pInterface->Get(property, &reading->lValue, &reading->lCapsFlags);
}

} // namespace

std::wstring UnknownDeviceName() {
    std::wstring name;
    ReadResourceString(kUnknownDeviceStringId, name);
    return name;
}

CCaptureDevice::~CCaptureDevice() {
    // The filter goes first, then the interfaces obtained from it, then the list.
    m_pFilter.Release();
    m_pProcAmp.Release();
    m_pCameraControl.Release();
    ClearDevices();
}

void CCaptureDevice::ClearDevices() {
    for (DeviceEntry& entry : m_devices)
        entry.moniker.Release();
    m_devices.clear();
}

HRESULT CCaptureDevice::EnumerateDevices() {
    ComPtr<ICreateDevEnum> pDevEnum;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                                  pDevEnum.ReleaseAndGetAddressOfVoid());
    if (FAILED(hr) || !pDevEnum)
        return hr;

    ComPtr<IEnumMoniker> pEnum;
    hr = pDevEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory,
                                         pEnum.ReleaseAndGetAddressOf(), 0);
    if (FAILED(hr) || !pEnum)
        return hr; // S_FALSE and no enumerator: the category has no devices

    hr = pEnum->Reset();
    if (hr != S_OK)
        return hr;

    for (;;) {
        ComPtr<IMoniker> pMoniker;
        ULONG fetched = 0;
        if (pEnum->Next(1, pMoniker.ReleaseAndGetAddressOf(), &fetched) != S_OK)
            break;
        // The entry takes its own reference; the one Next handed out goes with pMoniker.
        m_devices.push_back(DeviceEntry{pMoniker});
    }
    return S_OK;
}

int CCaptureDevice::DeviceCount() const {
    return static_cast<int>(m_devices.size());
}

IMoniker* CCaptureDevice::MonikerAt(int position) const {
    return m_devices[static_cast<size_t>(position)].moniker.Get();
}

HRESULT CCaptureDevice::ReadBagString(int position, LPCOLESTR property, std::wstring& value) const {
    if (position < 0 || position >= DeviceCount())
        return E_INVALIDARG;
    IMoniker* pMoniker = MonikerAt(position);
    if (pMoniker == nullptr)
        return E_POINTER;

    ComPtr<IPropertyBag> pBag;
    HRESULT hr = pMoniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                         pBag.ReleaseAndGetAddressOfVoid());
    if (hr != S_OK)
        return hr;
    if (!pBag)
        return E_POINTER;

    VARIANT var;
    VariantInit(&var);
    var.vt = VT_BSTR;
    // VariantInit leaves the string slot undefined; a failed Read must not
    // leave VariantClear freeing garbage.
    var.bstrVal = nullptr;
    hr = pBag->Read(property, &var, nullptr);
    if (hr == S_OK) {
        if (var.vt == VT_BSTR)
            value.assign(var.bstrVal ? var.bstrVal : L"",
                         var.bstrVal ? SysStringLen(var.bstrVal) : 0);
        else
            hr = DISP_E_TYPEMISMATCH;
    }
    VariantClear(&var);
    return hr;
}

HRESULT CCaptureDevice::GetDeviceName(int position, std::wstring& name) const {
    return ReadBagString(position, L"FriendlyName", name);
}

HRESULT CCaptureDevice::GetDevicePlainName(int position, std::wstring& name) const {
    if (ReadBagString(position, L"PlainName", name) == S_OK)
        return S_OK;
    return GetDeviceName(position, name);
}

HRESULT CCaptureDevice::GetDevicePath(int position, std::wstring& path) const {
    return ReadBagString(position, L"DevicePath", path);
}

HRESULT CCaptureDevice::GetDeviceId(int position, std::wstring& id) const {
    if (position < 0 || position >= DeviceCount())
        return E_INVALIDARG;
    IMoniker* pMoniker = MonikerAt(position);
    if (pMoniker == nullptr)
        return E_POINTER;
    LPOLESTR name = nullptr;
    const HRESULT hr = pMoniker->GetDisplayName(nullptr, nullptr, &name);
    if (hr == S_OK && name == nullptr)
        return E_POINTER;
    if (hr == S_OK)
        id = name;
    CoTaskMemFree(name);
    return hr;
}

int CCaptureDevice::FindDevice(const std::wstring& id) const {
    for (int position = 0; position < DeviceCount(); ++position) {
        std::wstring candidate;
        if (GetDeviceId(position, candidate) == S_OK && candidate == id)
            return position;
    }
    return -1;
}

HRESULT CCaptureDevice::BindDevice(int position, IBaseFilter** ppFilter) const {
    if (ppFilter == nullptr)
        return E_POINTER;
    if (position < 0 || position >= DeviceCount())
        return S_FALSE;
    IMoniker* pMoniker = MonikerAt(position);
    if (pMoniker == nullptr)
        return E_POINTER;
    return pMoniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                  reinterpret_cast<void**>(ppFilter));
}

HRESULT CCaptureDevice::ReadProcAmpProperty(LONG property, PropertyReading* reading) const {
    return ReadProperty(m_pProcAmp.Get(), property, reading);
}

HRESULT CCaptureDevice::ReadCameraControlProperty(LONG property, PropertyReading* reading) const {
    return ReadProperty(m_pCameraControl.Get(), property, reading);
}
