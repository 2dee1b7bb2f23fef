// Which V4L2 control answers each amplifier and camera-control property, and
// the range and value queries and the value write of both interfaces in
// DirectShow's terms. One table serves reads and writes.
#pragma once

#include "platform/linux/v4l2/v4l2device.h"
#include "platform/propertydefault.h"

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

// Flags Auto: the auto companion on, the value left to the camera. Flags
// Manual: the companion off first, then the value, converted back to the
// control's units; a value already in place is not written again.
// E_INVALIDARG for flags that are neither, Auto for a property without a
// companion, or a value outside the range; nothing is written then.
HRESULT SetPropertyValue(const CV4l2Device& device, CPropertySet set, LONG property, LONG value,
                         LONG flags);

// The control's default value, converted as the range query converts it, and
// the mode the auto companion starts in (Manual for a property without one).
HRESULT GetPropertyDefault(const CV4l2Device& device, CPropertySet set, LONG property,
                           PropertyDefault* def);

// Whether the node has at least one property of the set, so the filter knows
// whether to hand out that interface at all.
bool HasAnyProperty(const CV4l2Device& device, CPropertySet set);
