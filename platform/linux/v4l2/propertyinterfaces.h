// IAMVideoProcAmp and IAMCameraControl of a capture filter. Both have the
// same method names, so one object cannot implement both: each is a separate
// object that keeps its filter alive and forwards every other interface
// request to it, so IUnknown still answers with the filter's identity.
#pragma once

#include "platform/comptr.h"
#include "platform/linux/v4l2/filter.h"
#include "platform/linux/v4l2/propertydefaults.h"
#include "platform/linux/v4l2/propertymap.h"

template <class Interface, CPropertySet kSet>
class CPropertyInterface final : public ComObject<Interface, IV4l2PropertyDefaults> {
    using Base = ComObject<Interface, IV4l2PropertyDefaults>;

public:
    explicit CPropertyInterface(CCaptureFilter* filter)
        : m_filter(ComPtr<CCaptureFilter>::FromRaw(filter)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, InterfaceId<Interface>::Get()) ||
            IsEqualIID(riid, IID_IV4l2PropertyDefaults))
            return Base::QueryInterface(riid, ppv);
        return m_filter->QueryInterface(riid, ppv);
    }

    HRESULT STDMETHODCALLTYPE GetDefault(LONG Property, PropertyDefault* pDefault) override {
        if (!pDefault)
            return E_POINTER;
        return GetPropertyDefault(m_filter->Device(), kSet, Property, pDefault);
    }

    HRESULT STDMETHODCALLTYPE GetRange(LONG Property, LONG* pMin, LONG* pMax, LONG* pSteppingDelta,
                                       LONG* pDefault, LONG* pCapsFlags) override {
        if (!pMin || !pMax || !pSteppingDelta || !pDefault || !pCapsFlags)
            return E_POINTER;
        CPropertyRange range;
        const HRESULT hr = GetPropertyRange(m_filter->Device(), kSet, Property, &range);
        if (hr != S_OK)
            return hr;
        *pMin = range.lMin;
        *pMax = range.lMax;
        *pSteppingDelta = range.lSteppingDelta;
        *pDefault = range.lDefault;
        *pCapsFlags = range.lCapsFlags;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Set(LONG Property, LONG lValue, LONG Flags) override {
        return SetPropertyValue(m_filter->Device(), kSet, Property, lValue, Flags);
    }

    HRESULT STDMETHODCALLTYPE Get(LONG Property, LONG* lValue, LONG* Flags) override {
        if (!lValue || !Flags)
            return E_POINTER;
        return GetPropertyValue(m_filter->Device(), kSet, Property, lValue, Flags);
    }

private:
    ComPtr<CCaptureFilter> m_filter;
};

using CVideoProcAmp = CPropertyInterface<IAMVideoProcAmp, CPropertySet::ProcAmp>;
using CCameraControl = CPropertyInterface<IAMCameraControl, CPropertySet::CameraControl>;
