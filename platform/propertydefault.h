// The camera's own default setting of a property, in one place for every
// caller that puts a camera back to its defaults: the value its range query
// reports, and the automatic mode it starts in where the system reports one
// (else the mode it is in, which then stays).
#pragma once

#include "platform/directshow.h"

struct PropertyDefault {
    LONG lValue = 0;
    // VideoProcAmp_Flags_Auto or VideoProcAmp_Flags_Manual (the camera-control
    // flags share the values). Where the system reports no default mode, as
    // DirectShow does not, the mode the property is in now, so it stays.
    LONG lFlags = 0;
};

HRESULT GetPropertyDefault(IAMVideoProcAmp* pProcAmp, LONG Property, PropertyDefault* pDefault);
HRESULT GetPropertyDefault(IAMCameraControl* pCameraControl, LONG Property,
                           PropertyDefault* pDefault);

// What DirectShow reports: the range query's default and no mode, so the
// mode is the one the property is in. The systems' GetPropertyDefault build
// on it.
template <class Interface>
HRESULT RangeDefault(Interface* itf, LONG Property, PropertyDefault* pDefault) {
    if (itf == nullptr || pDefault == nullptr)
        return E_POINTER;
    LONG min = 0, max = 0, step = 0, value = 0, caps = 0;
    HRESULT hr = itf->GetRange(Property, &min, &max, &step, &value, &caps);
    LONG current = 0, flags = 0;
    if (SUCCEEDED(hr))
        hr = itf->Get(Property, &current, &flags);
    if (FAILED(hr))
        return hr;
    pDefault->lValue = value;
    pDefault->lFlags = (flags & VideoProcAmp_Flags_Auto) != 0 ? VideoProcAmp_Flags_Auto
                                                              : VideoProcAmp_Flags_Manual;
    return S_OK;
}
