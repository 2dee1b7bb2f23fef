// Without the dialog framework's window, a message is a system message box
// captioned with the executable's name.
#include "platform/framework.h"
#include "platform/msgbox_hook.h"
#include "platform/windows/modulename.h"

int ShowPlainMessage(LPCWSTR text, UINT type) {
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    return MessageBoxW(GetActiveWindow(), text, ExecutableBaseName().c_str(), type);
}
