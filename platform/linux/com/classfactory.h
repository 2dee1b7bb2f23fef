// A class object that makes a new Object for each CreateInstance call.
#pragma once

#include "platform/comobject.h"

#include <new>

template <class Object> class CClassFactory final : public ComObject<IClassFactory> {
public:
    static IClassFactory* Create() { return new (std::nothrow) CClassFactory; }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid,
                                             void** ppvObject) override {
        if (ppvObject == nullptr)
            return E_POINTER;
        *ppvObject = nullptr;
        if (pUnkOuter != nullptr)
            return CLASS_E_NOAGGREGATION;
        Object* object = new (std::nothrow) Object;
        if (object == nullptr)
            return E_OUTOFMEMORY;
        const HRESULT hr = object->QueryInterface(riid, ppvObject);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};
