// Without a dialog library, a message goes to standard error.
#include "platform/framework.h"
#include "platform/msgbox_hook.h"

#include <cstdio>

int ShowPlainMessage(LPCWSTR text, UINT) {
    std::fprintf(stderr, "VK37Set: %ls\n", text);
    return IDOK;
}
