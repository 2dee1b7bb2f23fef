// One V4L2 control: its description, its current value, and a write of a
// new value (which only the restore asks for; the save never writes).
#pragma once

#include "platform/linux/v4l2/v4l2device.h"

#include <cstdint>

struct CControlInfo {
    uint32_t id = 0;
    uint32_t type = 0;
    uint32_t flags = 0;
    int64_t minimum = 0;
    int64_t maximum = 0;
    uint64_t step = 0;
    int64_t defaultValue = 0;
};

// E_PROP_ID_UNSUPPORTED when the node has no such control, has it disabled,
// or has it with a type that is not a number (integer, 64-bit integer,
// boolean or menu); the mapped system error when the query itself failed.
HRESULT QueryControl(const CV4l2Device& device, uint32_t id, CControlInfo* info);

// The current value of a control that QueryControl described.
HRESULT ReadControl(const CV4l2Device& device, const CControlInfo& info, int64_t* value);

// Sets a control that QueryControl described. The node needs no write access
// for this: V4L2 asks for it only for streaming, not for controls.
HRESULT WriteControl(const CV4l2Device& device, const CControlInfo& info, int64_t value);
