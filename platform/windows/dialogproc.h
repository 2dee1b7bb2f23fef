// The bridge between the dialog manager and the framework's message maps. A
// dialog procedure asks for the dialog manager's default processing by
// returning FALSE; calling DefDlgProc from inside it would recurse. So
// CWnd::DefWindowProc only records that the message being routed wants the
// default, and the dialog procedure turns that record into its FALSE.
#pragma once

#include "platform/framework.h"

// Marks the message being routed as wanting the default processing.
void RequestDefaultProcessing();

// The dialog procedure of every CDialog; the dialog object comes as the
// WM_INITDIALOG parameter and is kept in the window's DWLP_USER slot.
INT_PTR CALLBACK FrameworkDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
