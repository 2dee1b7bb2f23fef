// One of a camera's two property interfaces behind one set of calls, so the
// rows of a property page read and write a property without caring whether it
// belongs to the amplifier or to the camera control.
#pragma once

#include "platform/comptr.h"
#include "platform/propertydefault.h"

// A property's setting: its value and its mode (the Auto or Manual flag;
// both interfaces share the flag values).
struct CPropertySetting {
    LONG value = 0;
    LONG flags = VideoProcAmp_Flags_Manual;

    bool Automatic() const { return (flags & VideoProcAmp_Flags_Auto) != 0; }
};

// Whether the camera holds the same setting either way: two automatic
// settings are the same whatever value each was read with, as the camera
// chooses the value then.
bool SameSetting(const CPropertySetting& a, const CPropertySetting& b);

// The camera has left the system (the status every call then answers with).
bool IsDeviceGone(HRESULT hr);

class CPropertyAccess {
public:
    // The interface iid (IID_IAMVideoProcAmp or IID_IAMCameraControl) of
    // object; Valid() tells whether the object has it.
    CPropertyAccess(IUnknown* object, REFIID iid);

    bool Valid() const { return m_procAmp || m_cameraControl; }

    HRESULT GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* def, LONG* caps) const;
    HRESULT Get(LONG property, CPropertySetting* setting) const;
    HRESULT Set(LONG property, const CPropertySetting& setting) const;
    // The camera's default, from the one place that knows it.
    HRESULT GetDefault(LONG property, PropertyDefault* def) const;

private:
    ComPtr<IAMVideoProcAmp> m_procAmp;
    ComPtr<IAMCameraControl> m_cameraControl;
};
