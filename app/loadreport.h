// The restore's message box in the main dialog: what the user needs to know
// after 参数载入, built from the string table only (which properties were not
// applied and why, which were changed), so every language has its own text.
#pragma once

#include "capture/restoreparameters.h"
#include "platform/framework.h"

#include <string>
#include <vector>

struct LoadReport {
    std::wstring text;
    UINT nType = MB_OK; // the box's icon
};

// The box for a restore that opened the camera (Done or DeviceGone).
LoadReport MakeLoadReport(RestoreOutcome outcome, const std::vector<PropertyResult>& results);
