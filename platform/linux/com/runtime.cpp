// The apartment bookkeeping, class registry and object creation of the COM
// runtime on Linux. Registered class objects come before the built-in ones,
// so tests can put fakes behind any CLSID.
#include "platform/comptr.h"
#include "platform/linux/com/builtin_classes.h"

#include <mutex>
#include <vector>

namespace {

struct Apartment {
    int inits = 0;
    DWORD model = 0;
};
thread_local Apartment t_apartment;

struct Registration {
    DWORD cookie;
    CLSID clsid;
    ComPtr<IUnknown> object;
};

std::mutex g_registryLock;
std::vector<Registration> g_registry;
DWORD g_nextCookie = 1;

// The most recent registration for rclsid, as a class factory.
ComPtr<IClassFactory> FindRegistered(REFCLSID rclsid) {
    ComPtr<IUnknown> object;
    {
        std::lock_guard<std::mutex> lock(g_registryLock);
        for (auto it = g_registry.rbegin(); it != g_registry.rend(); ++it) {
            if (IsEqualCLSID(it->clsid, rclsid)) {
                object = it->object;
                break;
            }
        }
    }
    ComPtr<IClassFactory> factory;
    if (object)
        object.As(IID_IClassFactory, factory);
    return factory;
}

} // namespace

HRESULT CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit) {
    if (pvReserved != nullptr)
        return E_INVALIDARG;
    const DWORD model = dwCoInit & COINIT_APARTMENTTHREADED;
    if (t_apartment.inits > 0) {
        if (t_apartment.model != model)
            return RPC_E_CHANGED_MODE;
        ++t_apartment.inits;
        return S_FALSE;
    }
    t_apartment.model = model;
    t_apartment.inits = 1;
    return S_OK;
}

void CoUninitialize() {
    if (t_apartment.inits > 0)
        --t_apartment.inits;
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, LPUNKNOWN pUnk, DWORD, DWORD, DWORD* lpdwRegister) {
    if (pUnk == nullptr || lpdwRegister == nullptr)
        return E_INVALIDARG;
    std::lock_guard<std::mutex> lock(g_registryLock);
    const DWORD cookie = g_nextCookie++;
    g_registry.push_back(Registration{cookie, rclsid, ComPtr<IUnknown>::FromRaw(pUnk)});
    *lpdwRegister = cookie;
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
    ComPtr<IUnknown> released; // dropped outside the lock
    std::lock_guard<std::mutex> lock(g_registryLock);
    for (auto it = g_registry.begin(); it != g_registry.end(); ++it) {
        if (it->cookie == dwRegister) {
            released = std::move(it->object);
            g_registry.erase(it);
            return S_OK;
        }
    }
    return CO_E_OBJNOTREG;
}

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (t_apartment.inits == 0)
        return CO_E_NOTINITIALIZED;

    ComPtr<IClassFactory> factory = FindRegistered(rclsid);
    if (!factory)
        factory.Attach(GetBuiltinClassObject(rclsid));
    if (!factory)
        return REGDB_E_CLASSNOTREG;
    return factory->CreateInstance(pUnkOuter, riid, ppv);
}
