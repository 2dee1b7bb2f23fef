// The window behind AfxMessageBox once the framework runs: a system message
// box over the active window, captioned with the application's name.
#pragma once

#include "platform/wintypes.h"

int ShowMessageBoxWindow(LPCWSTR text, UINT type, UINT helpId);
