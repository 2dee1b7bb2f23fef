// The program's resources as the Linux build sees them: generated at build
// time from the resource script in res/, so the script stays the single
// source of dialog layout, texts, ids and icons.
#pragma once

#include "platform/wintypes.h"

#include <cstddef>

// One control of a dialog template, as the script declares it. The script's
// short forms (DEFPUSHBUTTON, LTEXT, COMBOBOX, ICON, ...) are expanded to the
// window class and full style they stand for.
struct DialogItemTemplate {
    int id;                // control id; -1 for IDC_STATIC
    const char* className; // "BUTTON", "COMBOBOX", "STATIC", "EDIT",
                           // "msctls_trackbar32", "SysTabControl32"
    const wchar_t* text;   // caption; for an ICON control, the icon's id as "#129"
    int x, y, cx, cy;      // dialog units
    DWORD style;           // WS_* | control style bits, as in the script
    DWORD exStyle;
};

struct DialogTemplate {
    int id;
    const wchar_t* caption;
    int x, y, cx, cy; // dialog units
    DWORD style;      // WS_*, DS_* bits
    DWORD exStyle;
    const wchar_t* fontName;
    int pointSize;
    const DialogItemTemplate* items; // in script order, which is the tab order
    size_t itemCount;
};

// The dialog template with this id, or null.
const DialogTemplate* FindDialogTemplate(int id);

// The string table entry with this id, or null.
const wchar_t* FindResourceString(UINT id);

// The bytes of the .ico file behind the icon group with this id, or null.
const BYTE* FindIconGroup(int id, size_t* size);

// A string of the version record ("ProductVersion", "FileDescription", ...),
// from its first language block, or null.
const wchar_t* FindVersionString(const wchar_t* name);
