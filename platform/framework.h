// The application framework the program is written against: message boxes,
// the application object, dialogs and their controls, with the class
// library's names and call shapes. The declarations in platform/afx/ serve
// both systems; platform/linux/ui (Qt) and platform/windows (plain Win32)
// implement them, so no compiler vendor's class library is needed.
#pragma once

#include "platform/afx/winshapes.h"

#ifndef _WIN32

#define MB_OK 0x00000000u
#define MB_ICONHAND 0x00000010u
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONQUESTION 0x00000020u
#define MB_ICONEXCLAMATION 0x00000030u
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONASTERISK 0x00000040u
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONMASK 0x000000F0u

#define IDOK 1
#define IDCANCEL 2

#endif

// Shows text in a modal message box captioned with the application's name and
// returns the id of the button that dismissed it. A box that asks for no icon
// gets the exclamation mark, as the framework's boxes do.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

#include "platform/afx/dialog.h"
#include "platform/afx/winapp.h"
