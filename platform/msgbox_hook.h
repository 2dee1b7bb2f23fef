// Where AfxMessageBox goes on Linux. The dialog library installs its window;
// tests install a recorder. Without a handler the text goes to standard error.
#pragma once

#include "platform/wintypes.h"

#include <functional>

using MessageBoxHandler = std::function<int(LPCWSTR text, UINT type, UINT helpId)>;

// Installs handler (an empty one restores the default) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);
