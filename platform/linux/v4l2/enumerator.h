// The system device enumerator on Linux: its video input category lists the
// V4L2 cameras. The system calls it uses are handed in, so tests can put a
// fake device table behind CLSID_SystemDeviceEnum.
#pragma once

#include "platform/comptr.h"
#include "platform/comobject.h"
#include "platform/linux/v4l2/syscalls.h"

#include <memory>
#include <vector>

class CSystemDeviceEnum final : public ComObject<ICreateDevEnum> {
public:
    // The running kernel's cameras.
    CSystemDeviceEnum() : m_calls(RealSystemCalls()) {}
    explicit CSystemDeviceEnum(std::shared_ptr<ISystemCalls> calls) : m_calls(std::move(calls)) {}

    // S_OK and a moniker enumerator when the video input category has
    // cameras; S_FALSE and none for no cameras or any other category.
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                    IEnumMoniker** ppEnumMoniker,
                                                    DWORD dwFlags) override;

private:
    std::shared_ptr<ISystemCalls> m_calls;
};

// The monikers found by one CreateClassEnumerator call, handed out in order.
class CMonikerEnum final : public ComObject<IEnumMoniker> {
public:
    explicit CMonikerEnum(std::vector<ComPtr<IMoniker>> monikers)
        : m_monikers(std::move(monikers)) {}

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) override;
    HRESULT STDMETHODCALLTYPE Reset() override;

private:
    std::vector<ComPtr<IMoniker>> m_monikers;
    size_t m_next = 0;
};

// A class object making CSystemDeviceEnum objects on the given system calls.
class CDeviceEnumFactory final : public ComObject<IClassFactory> {
public:
    explicit CDeviceEnumFactory(std::shared_ptr<ISystemCalls> calls) : m_calls(std::move(calls)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                             void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::shared_ptr<ISystemCalls> m_calls;
};
