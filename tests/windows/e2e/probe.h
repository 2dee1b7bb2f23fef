// What the probe DLL reports from inside the program: the facts Wine does not
// answer across processes (menus, icon handles, which stock icon a message
// box shows). Shared by the probe and the driver.
#pragma once

#include <windows.h>

// Posted to the program's dialog with the window to describe in lParam; the
// probe's message hook answers in the mapping named below.
inline constexpr const wchar_t* kProbeMessage = L"vk37e2e.probe";
inline constexpr const wchar_t* kProbeMappingPrefix = L"Local\\vk37e2e.probe.";

struct ProbeMenuItem {
    UINT id;
    UINT type; // MFT_SEPARATOR or MFT_STRING
    wchar_t text[64];
};

// Stock icons a message box may show, in the order the probe compares them.
inline const LPCWSTR kStockIcons[] = {IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION};
inline constexpr const char* kStockIconNames[] = {"exclamation", "error", "information",
                                                  "question"};

struct ProbeReport {
    volatile LONG done;
    INT_PTR bigIcon, smallIcon, dragIcon, programIcon; // programIcon: LoadIcon of wParam
    int stockIcon;                                     // index into kStockIcons, or -1
    // Widths in pixels of the big and small window icons and of the picture
    // of an icon control (0 without one).
    int bigIconWidth, smallIconWidth, pictureWidth;
    int menuCount; // -1: no system menu
    ProbeMenuItem menu[32];
};
