// The camera's own default setting of a property, in one place for every
// caller that puts a camera back to its defaults: the value its range query
// reports, and the automatic mode it starts in where the system reports one.
#pragma once

#include "platform/directshow.h"

struct PropertyDefault {
    LONG lValue = 0;
    // VideoProcAmp_Flags_Auto or VideoProcAmp_Flags_Manual (the camera-control
    // flags share the values); 0 where the system reports no default mode, as
    // DirectShow does not, so the mode the camera is in stays as it is.
    LONG lFlags = 0;
};

HRESULT GetPropertyDefault(IAMVideoProcAmp* pProcAmp, LONG Property, PropertyDefault* pDefault);
HRESULT GetPropertyDefault(IAMCameraControl* pCameraControl, LONG Property,
                           PropertyDefault* pDefault);

// What DirectShow reports: the range query's default and no mode. The
// systems' GetPropertyDefault build on it.
template <class Interface>
HRESULT RangeDefault(Interface* itf, LONG Property, PropertyDefault* pDefault) {
    if (itf == nullptr || pDefault == nullptr)
        return E_POINTER;
    LONG min = 0, max = 0, step = 0, value = 0, caps = 0;
    const HRESULT hr = itf->GetRange(Property, &min, &max, &step, &value, &caps);
    if (FAILED(hr))
        return hr;
    pDefault->lValue = value;
    pDefault->lFlags = 0;
    return S_OK;
}
