// Which V4L2 control answers each amplifier and camera-control property, and
// the range and value queries of both interfaces in DirectShow's terms.
#pragma once

#include "platform/linux/v4l2/v4l2device.h"

enum class CPropertySet { ProcAmp, CameraControl };

struct CPropertyRange {
    LONG lMin = 0;
    LONG lMax = 0;
    LONG lSteppingDelta = 0;
    LONG lDefault = 0;
    LONG lCapsFlags = 0;
};

// E_PROP_ID_UNSUPPORTED for a property without a usable control; the mapped
// system error when the device could not be asked.
HRESULT GetPropertyRange(const CV4l2Device& device, CPropertySet set, LONG property,
                         CPropertyRange* range);
HRESULT GetPropertyValue(const CV4l2Device& device, CPropertySet set, LONG property, LONG* value,
                         LONG* flags);

// Whether the node has at least one property of the set, so the filter knows
// whether to hand out that interface at all.
bool HasAnyProperty(const CV4l2Device& device, CPropertySet set);
