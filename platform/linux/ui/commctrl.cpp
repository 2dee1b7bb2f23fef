// InitCommonControlsEx: Qt's controls need no registration; the call only
// checks its argument as the system does.
#include "platform/comctlinit.h"

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    return picce != nullptr && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}
