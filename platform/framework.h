// The application framework: message boxes, and (with the dialog library)
// the application and dialog classes. On Windows this is the class library's
// own header.
#pragma once

#include "platform/wintypes.h"

#ifdef _WIN32
#include <afxwin.h>
#else

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

// Shows text in a modal message box captioned with the application's name and
// returns the id of the button that dismissed it.
int AfxMessageBox(LPCTSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);

#include "platform/afx/dialog.h"
#include "platform/afx/winapp.h"

#endif
