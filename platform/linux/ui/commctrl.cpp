// InitCommonControlsEx: Qt's controls need no registration; the call only
// checks its argument as the system does.
#include "platform/commoncontrols.h"

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce) {
    return picce != nullptr && picce->dwSize == sizeof(INITCOMMONCONTROLSEX);
}
