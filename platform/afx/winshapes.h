// Window-system shapes of the Windows SDK that the dialog framework uses:
// handles, rectangles, message and style constants, and the few free
// functions the program calls. On Windows the SDK provides all of them; the
// framework's own markers follow at the end for both systems.
#pragma once

#include "platform/wintypes.h"

#ifndef _WIN32

// Handles are opaque; the dialog library gives them their meaning.
struct HWND__;
struct HICON__;
struct HDC__;
struct HMENU__;
struct HINSTANCE__;
typedef HWND__* HWND;
typedef HICON__* HICON;
typedef HICON HCURSOR;
typedef HDC__* HDC;
typedef HMENU__* HMENU;
typedef HINSTANCE__* HINSTANCE;
typedef void* HANDLE;

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};
typedef RECT* LPRECT;
typedef const RECT* LPCRECT;

struct POINT {
    LONG x;
    LONG y;
};

#define PASCAL
#define CALLBACK

#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xffff))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xffff))
#define MAKEWPARAM(l, h) static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(l, h)))
#define MAKELPARAM(l, h) static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(l, h)))
#define MAKELONG(a, b)                                                                             \
    static_cast<LONG>((static_cast<DWORD>(static_cast<WORD>(a))) |                                 \
                      (static_cast<DWORD>(static_cast<WORD>(b))) << 16)
typedef uintptr_t DWORD_PTR;

// Window messages.
#define WM_CLOSE 0x0010u
#define WM_PAINT 0x000Fu
#define WM_ICONERASEBKGND 0x0027u
#define WM_NEXTDLGCTL 0x0028u
#define WM_QUERYDRAGICON 0x0037u
#define WM_SETICON 0x0080u
#define WM_INITDIALOG 0x0110u
#define WM_COMMAND 0x0111u
#define WM_SYSCOMMAND 0x0112u
#define WM_DEVICECHANGE 0x0219u

// WM_DEVICECHANGE events.
#define DBT_DEVICEARRIVAL 0x8000u
#define DBT_DEVICEREMOVECOMPLETE 0x8004u

#define ICON_SMALL 0
#define ICON_BIG 1

// System commands; the low four bits are the system's own.
#define SC_CLOSE 0xF060u

// Control notifications and messages.
#define BN_CLICKED 0u
#define CB_ERR (-1)
#define CB_ADDSTRING 0x0143u
#define CB_GETCOUNT 0x0146u
#define CB_GETCURSEL 0x0147u
#define CB_RESETCONTENT 0x014Bu
#define CB_SETCURSEL 0x014Eu

// Menu item flags.
#define MF_STRING 0x00000000u
#define MF_GRAYED 0x00000001u
#define MF_DISABLED 0x00000002u
#define MF_SEPARATOR 0x00000800u

// Window and dialog styles, as a dialog template spells them.
#define WS_OVERLAPPED 0x00000000u
#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_MINIMIZE 0x20000000u
#define WS_VISIBLE 0x10000000u
#define WS_DISABLED 0x08000000u
#define WS_CAPTION 0x00C00000u
#define WS_BORDER 0x00800000u
#define WS_VSCROLL 0x00200000u
#define WS_HSCROLL 0x00100000u
#define WS_SYSMENU 0x00080000u
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define WS_EX_APPWINDOW 0x00040000u
#define DS_SETFONT 0x40u
#define DS_MODALFRAME 0x80u
#define DS_CENTER 0x0800u

#define BS_PUSHBUTTON 0x0u
#define BS_DEFPUSHBUTTON 0x1u
#define BS_CHECKBOX 0x2u
#define BS_AUTOCHECKBOX 0x3u
#define BS_TYPEMASK 0xFu
#define CBS_SIMPLE 0x1u
#define CBS_DROPDOWN 0x2u
#define CBS_DROPDOWNLIST 0x3u
#define CBS_SORT 0x0100u
#define SS_LEFT 0x0u
#define SS_CENTER 0x1u
#define SS_RIGHT 0x2u
#define SS_ICON 0x3u
#define SS_TYPEMASK 0x1Fu
#define SS_NOPREFIX 0x80u
#define TBS_VERT 0x2u
#define TBS_TOP 0x4u
#define TBS_BOTH 0x8u
#define TBS_NOTICKS 0x10u

#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXSMICON 49
#define SM_CYSMICON 50

// Images of the program's resources, named by number.
#define MAKEINTRESOURCEW(i) (reinterpret_cast<LPWSTR>(static_cast<UINT_PTR>(static_cast<WORD>(i))))
#define IMAGE_ICON 1u
#define LR_SHARED 0x8000u

int GetSystemMetrics(int nIndex);
HANDLE LoadImageW(HINSTANCE hInst, LPCWSTR name, UINT type, int cx, int cy, UINT fuLoad);
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// A window that is disabled takes no input; disabling the window with the
// focus moves the focus on. They answer as the window manager's calls do.
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL IsWindowEnabled(HWND hWnd);
HWND GetFocus();
BOOL SetForegroundWindow(HWND hWnd);

#else

// The WM_DEVICECHANGE events, which windows.h leaves out.
#include <dbt.h>

#endif

// Marks a message handler; it expands to nothing.
#define afx_msg

// Command ids the framework itself handles.
#define ID_HELP 0xE146u
