// The program's resources as the Linux build sees them: generated at build
// time from the resource script in res/, so the script stays the single
// source of dialog layout, texts, ids and icons, in each language it holds.
#pragma once

#include "platform/linux/uilanguage.h"
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
    LANGID language;
    const wchar_t* caption;
    int x, y, cx, cy; // dialog units
    DWORD style;      // WS_*, DS_* bits
    DWORD exStyle;
    const wchar_t* fontName;
    int pointSize;
    const DialogItemTemplate* items; // in script order, which is the tab order
    size_t itemCount;
};

struct StringResource {
    UINT id;
    LANGID language;
    const wchar_t* text;
};

struct IconResource {
    int id;
    const BYTE* bytes; // the .ico file
    size_t size;
};

struct VersionStringResource {
    LANGID language;
    const wchar_t* name;
    const wchar_t* value;
};

// Everything the converter took from the script, in script order; each
// table ends with an entry of nulls.
struct ResourceTables {
    const DialogTemplate* dialogs;
    const StringResource* strings;
    const IconResource* icons;
    const VersionStringResource* versionStrings;
};
const ResourceTables& ScriptResources();

// Entries of the string table the Linux dialog framework shows itself, where
// Windows shows the system's own texts: the system menu's close item and the
// message box's button. The script holds them in each language (res/resource.h
// names them IDS_FRAMEWORK_CLOSE and IDS_FRAMEWORK_OK).
inline constexpr UINT kCloseItemStringId = 153;
inline constexpr UINT kOkButtonStringId = 154;

// Lookups in a language: the resource in that language, else in the first
// language the script gives it in, as Windows' loader falls back. Without a
// language, the program's (GetThreadUILanguage).

// The dialog template with this id, or null.
const DialogTemplate* FindDialogTemplate(int id);
const DialogTemplate* FindDialogTemplate(int id, LANGID language);

// The string table entry with this id, or null.
const wchar_t* FindResourceString(UINT id);
const wchar_t* FindResourceString(UINT id, LANGID language);

// The bytes of the .ico file behind the icon group with this id, or null.
const BYTE* FindIconGroup(int id, size_t* size);

// A string of the version record ("ProductVersion", "FileDescription", ...),
// or null.
const wchar_t* FindVersionString(const wchar_t* name);
const wchar_t* FindVersionString(const wchar_t* name, LANGID language);
