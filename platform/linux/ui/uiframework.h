// Set-up of the dialog framework inside a running QApplication: the Chinese
// user-interface font and the message box window behind AfxMessageBox. The
// start-up calls it; tests that build dialogs call it too.
#pragma once

#include "platform/wintypes.h"

void InitFrameworkUi();

// The window AfxMessageBox shows: captioned with the application's name,
// one button, modal over the running dialog; returns IDOK.
int ShowMessageBoxWindow(LPCWSTR text, UINT type, UINT helpId);
