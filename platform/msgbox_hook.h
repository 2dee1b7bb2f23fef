// Where AfxMessageBox goes. The dialog library installs its window;
// tests install a recorder. Without a handler the platform shows the text its
// own plain way (standard error on Linux, a system message box on Windows).
#pragma once

#include "platform/wintypes.h"

#include <functional>

using MessageBoxHandler = std::function<int(LPCWSTR text, UINT type, UINT helpId)>;

// Installs handler (an empty one restores the default) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// The text shown without a handler: standard error on Linux, a system message
// box captioned with the executable's name on Windows. Returns IDOK.
int ShowPlainMessage(LPCWSTR text, UINT type);
