// Style values as the Windows SDK documents them, written out here rather
// than taken from the converter so that a wrong entry in its table shows.
#pragma once

#include <cstdint>

namespace win32 {

constexpr uint32_t WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000;
constexpr uint32_t WS_EX_APPWINDOW = 0x00040000;
constexpr uint32_t DS_SETFONT = 0x40, DS_MODALFRAME = 0x80;
constexpr uint32_t BS_TYPEMASK = 0xF, BS_PUSHBUTTON = 0x0, BS_DEFPUSHBUTTON = 0x1,
                   BS_AUTOCHECKBOX = 0x3, BS_GROUPBOX = 0x7;
constexpr uint32_t TBS_BOTH = 0x8, TBS_NOTICKS = 0x10;
constexpr uint32_t CBS_TYPEMASK = 0x3, CBS_SIMPLE = 0x1, CBS_DROPDOWN = 0x2, CBS_DROPDOWNLIST = 0x3,
                   CBS_SORT = 0x100;
constexpr uint32_t SS_TYPEMASK = 0x1F, SS_LEFT = 0x0, SS_CENTER = 0x1, SS_RIGHT = 0x2,
                   SS_ICON = 0x3, SS_NOPREFIX = 0x80;
constexpr uint32_t ES_AUTOHSCROLL = 0x80;

} // namespace win32
