// The camera's default settings as only the V4L2 source knows them: besides
// the default value, which the range query reports, the mode each auto
// companion control starts in. The amplifier and camera-control objects of
// a V4L2 filter answer this interface; GetPropertyDefault asks for it.
#pragma once

#include "platform/comobject.h"
#include "platform/propertydefault.h"

extern "C" const IID IID_IV4l2PropertyDefaults;

struct IV4l2PropertyDefaults : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetDefault(LONG Property, PropertyDefault* pDefault) = 0;

protected:
    ~IV4l2PropertyDefaults() = default;
};

template <> struct InterfaceId<IV4l2PropertyDefaults> {
    static const IID& Get() { return IID_IV4l2PropertyDefaults; }
};
