// Reference counting and QueryInterface for the COM objects that the Linux
// platform layer hands out. An object starts with one reference, owned by its
// creator, and deletes itself when the last one is released.
#pragma once

#include "platform/directshow.h"

#include <atomic>

template <class Interface> struct InterfaceId;
#define VK37_INTERFACE_ID(I)                                                                       \
    template <> struct InterfaceId<I> {                                                            \
        static const IID& Get() { return IID_##I; }                                                \
    }
VK37_INTERFACE_ID(IUnknown);
VK37_INTERFACE_ID(IClassFactory);
VK37_INTERFACE_ID(ICreateDevEnum);
VK37_INTERFACE_ID(IEnumMoniker);
VK37_INTERFACE_ID(IMoniker);
VK37_INTERFACE_ID(IPropertyBag);
VK37_INTERFACE_ID(IBaseFilter);
VK37_INTERFACE_ID(IAMVideoProcAmp);
VK37_INTERFACE_ID(IAMCameraControl);
#undef VK37_INTERFACE_ID

// The interface pointer of object that riid names, among the interfaces
// listed (the first of them also stands for IUnknown), or null.
template <class First, class... Rest, class Object>
void* FindInterface(Object* object, REFIID riid) {
    if (IsEqualIID(riid, IID_IUnknown))
        return static_cast<IUnknown*>(static_cast<First*>(object));
    if (IsEqualIID(riid, InterfaceId<First>::Get()))
        return static_cast<First*>(object);
    if constexpr (sizeof...(Rest) > 0)
        return FindInterface<Rest...>(object, riid);
    return nullptr;
}

template <class First, class... Rest> class ComObject : public First, public Rest... {
public:
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        if (IsEqualIID(riid, IID_IUnknown) || Exposes(riid))
            *ppv = FindInterface<First, Rest...>(this, riid);
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_refs;
        if (left == 0)
            delete this;
        return left;
    }

protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // Lets an object withhold an interface it implements (a camera without
    // amplifier controls has no amplifier interface, for instance).
    virtual bool Exposes(REFIID) const { return true; }

private:
    std::atomic<ULONG> m_refs{1};
};
