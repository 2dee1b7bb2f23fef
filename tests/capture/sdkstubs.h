// The fakes implement only the methods the program calls. Against the
// Windows SDK's full interfaces the rest must exist too: Stubbed<I> adds
// them, each answering E_NOTIMPL, so a call the program should never make
// fails loudly instead of silently succeeding. On Linux the platform's
// interfaces hold only the called methods, and Stubbed<I> is I itself.
#pragma once

#include "platform/directshow.h"

namespace fakes {

template <class I> struct Stubbed : I {};

#ifdef _WIN32

#define VK37_NOTIMPL(signature)                                                                    \
    HRESULT STDMETHODCALLTYPE signature override {                                                 \
        return E_NOTIMPL;                                                                          \
    }

template <> struct Stubbed<IMoniker> : IMoniker {
    VK37_NOTIMPL(GetClassID(CLSID*))
    VK37_NOTIMPL(IsDirty())
    VK37_NOTIMPL(Load(IStream*))
    VK37_NOTIMPL(Save(IStream*, BOOL))
    VK37_NOTIMPL(GetSizeMax(ULARGE_INTEGER*))
    VK37_NOTIMPL(Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**))
    VK37_NOTIMPL(ComposeWith(IMoniker*, BOOL, IMoniker**))
    VK37_NOTIMPL(Enum(BOOL, IEnumMoniker**))
    VK37_NOTIMPL(IsEqual(IMoniker*))
    VK37_NOTIMPL(Hash(DWORD*))
    VK37_NOTIMPL(IsRunning(IBindCtx*, IMoniker*, IMoniker*))
    VK37_NOTIMPL(GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*))
    VK37_NOTIMPL(Inverse(IMoniker**))
    VK37_NOTIMPL(CommonPrefixWith(IMoniker*, IMoniker**))
    VK37_NOTIMPL(RelativePathTo(IMoniker*, IMoniker**))
    VK37_NOTIMPL(ParseDisplayName(IBindCtx*, IMoniker*, LPOLESTR, ULONG*, IMoniker**))
    VK37_NOTIMPL(IsSystemMoniker(DWORD*))
};

template <> struct Stubbed<IBaseFilter> : IBaseFilter {
    VK37_NOTIMPL(GetClassID(CLSID*))
    VK37_NOTIMPL(Stop())
    VK37_NOTIMPL(Pause())
    VK37_NOTIMPL(Run(REFERENCE_TIME))
    VK37_NOTIMPL(GetState(DWORD, FILTER_STATE*))
    VK37_NOTIMPL(SetSyncSource(IReferenceClock*))
    VK37_NOTIMPL(GetSyncSource(IReferenceClock**))
    VK37_NOTIMPL(EnumPins(IEnumPins**))
    VK37_NOTIMPL(FindPin(LPCWSTR, IPin**))
    VK37_NOTIMPL(QueryFilterInfo(FILTER_INFO*))
    VK37_NOTIMPL(JoinFilterGraph(IFilterGraph*, LPCWSTR))
    VK37_NOTIMPL(QueryVendorInfo(LPWSTR*))
};

template <> struct Stubbed<IEnumMoniker> : IEnumMoniker {
    VK37_NOTIMPL(Skip(ULONG))
    VK37_NOTIMPL(Clone(IEnumMoniker**))
};

template <> struct Stubbed<IPropertyBag> : IPropertyBag {
    VK37_NOTIMPL(Write(LPCOLESTR, VARIANT*))
};

#undef VK37_NOTIMPL

#endif

} // namespace fakes
