// Device enumeration: each CreateClassEnumerator call looks at the nodes
// afresh, so a camera plugged in since the last call is seen.
#include "platform/linux/v4l2/enumerator.h"

#include "platform/linux/v4l2/moniker.h"
#include "platform/linux/v4l2/nodes.h"

#include <new>

HRESULT STDMETHODCALLTYPE CSystemDeviceEnum::CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                                   IEnumMoniker** ppEnumMoniker,
                                                                   DWORD) {
    if (ppEnumMoniker == nullptr)
        return E_POINTER;
    *ppEnumMoniker = nullptr;
    if (!IsEqualCLSID(clsidDeviceClass, CLSID_VideoInputDeviceCategory))
        return S_FALSE;

    std::vector<CNodeInfo> nodes;
    const HRESULT hr = FindCaptureNodes(m_calls, &nodes);
    if (hr != S_OK)
        return hr;
    if (nodes.empty())
        return S_FALSE;

    std::vector<ComPtr<IMoniker>> monikers;
    for (CNodeInfo& node : nodes) {
        ComPtr<IMoniker> moniker;
        moniker.Attach(new (std::nothrow) CDeviceMoniker(m_calls, std::move(node)));
        if (!moniker)
            return E_OUTOFMEMORY;
        monikers.push_back(std::move(moniker));
    }
    CMonikerEnum* enumerator = new (std::nothrow) CMonikerEnum(std::move(monikers));
    if (enumerator == nullptr)
        return E_OUTOFMEMORY;
    *ppEnumMoniker = enumerator;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CMonikerEnum::Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) {
    if (rgelt == nullptr)
        return E_POINTER;
    // Only a single-moniker request may leave out the count.
    if (pceltFetched == nullptr && celt != 1)
        return E_INVALIDARG;
    ULONG fetched = 0;
    while (fetched < celt && m_next < m_monikers.size()) {
        rgelt[fetched] = ComPtr<IMoniker>(m_monikers[m_next]).Detach();
        ++fetched;
        ++m_next;
    }
    if (pceltFetched != nullptr)
        *pceltFetched = fetched;
    return fetched == celt ? S_OK : S_FALSE;
}

HRESULT STDMETHODCALLTYPE CMonikerEnum::Reset() {
    m_next = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CDeviceEnumFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                                             void** ppvObject) {
    if (ppvObject == nullptr)
        return E_POINTER;
    *ppvObject = nullptr;
    if (pUnkOuter != nullptr)
        return CLASS_E_NOAGGREGATION;
    CSystemDeviceEnum* object = new (std::nothrow) CSystemDeviceEnum(m_calls);
    if (object == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT hr = object->QueryInterface(riid, ppvObject);
    object->Release();
    return hr;
}
