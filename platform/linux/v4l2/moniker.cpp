// Binding a camera moniker to its property bag or its capture filter.
#include "platform/linux/v4l2/moniker.h"

#include "platform/linux/v4l2/capabilities.h"
#include "platform/linux/v4l2/filter.h"
#include "platform/linux/v4l2/propertybag.h"

#include <new>

HRESULT STDMETHODCALLTYPE CDeviceMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID riidResult,
                                                       void** ppvResult) {
    if (ppvResult == nullptr)
        return E_POINTER;
    *ppvResult = nullptr;

    CV4l2Device device;
    HRESULT hr = device.Open(m_calls, m_node.path);
    if (hr != S_OK)
        return hr;
    v4l2_capability caps;
    hr = device.QueryCapabilities(&caps);
    if (hr != S_OK)
        return hr;
    // The node may have been handed to another device since enumeration.
    const bool sameDevice =
        !m_node.checked || (DriverName(caps) == m_node.driver && BusInfo(caps) == m_node.busInfo);
    if (!IsCaptureNode(caps) || !sameDevice)
        return HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

    CCaptureFilter* filter = new (std::nothrow) CCaptureFilter(std::move(device));
    if (filter == nullptr)
        return E_OUTOFMEMORY;
    hr = filter->QueryInterface(riidResult, ppvResult);
    filter->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE CDeviceMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID riid,
                                                        void** ppvObj) {
    if (ppvObj == nullptr)
        return E_POINTER;
    *ppvObj = nullptr;
    if (!IsEqualIID(riid, IID_IPropertyBag))
        return E_NOINTERFACE;
    const std::wstring path(m_node.path.begin(), m_node.path.end());
    IPropertyBag* bag =
        new (std::nothrow) CDevicePropertyBag(m_node.friendlyName, m_node.plainName, path);
    if (bag == nullptr)
        return E_OUTOFMEMORY;
    *ppvObj = bag;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceMoniker::GetDisplayName(IBindCtx*, IMoniker*,
                                                         LPOLESTR* ppszDisplayName) {
    if (ppszDisplayName == nullptr)
        return E_POINTER;
    *ppszDisplayName = nullptr;
    // Byte for byte, so that names that are not UTF-8 still compare as they are.
    const std::string bytes = "v4l2:" + m_node.driver + ":" + m_node.busInfo + ":" + m_node.path;
    std::wstring name;
    for (const char byte : bytes)
        name += static_cast<wchar_t>(static_cast<unsigned char>(byte));
    auto* text = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(wchar_t)));
    if (text == nullptr)
        return E_OUTOFMEMORY;
    name.copy(text, name.size());
    text[name.size()] = L'\0';
    *ppszDisplayName = text;
    return S_OK;
}
