// A message hook the driver installs on the program's thread: Windows (and
// Wine) load this DLL into the program to run it, so it can ask the program's
// own windows what other processes cannot.
#include "tests/windows/e2e/probe.h"

#include <string>

namespace {

HWND FindIconControl(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if ((GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            return child;
    return nullptr;
}

int IconWidth(HICON icon) {
    ICONINFO info = {};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return 0;
    BITMAP bitmap = {};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

void Describe(HWND hwnd, UINT iconId, ProbeReport& report) {
    report.bigIcon = SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0);
    report.smallIcon = SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0);
    report.dragIcon = SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0);
    report.programIcon =
        reinterpret_cast<INT_PTR>(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(iconId)));
    report.bigIconWidth = IconWidth(reinterpret_cast<HICON>(report.bigIcon));
    report.smallIconWidth = IconWidth(reinterpret_cast<HICON>(report.smallIcon));
    report.stockIcon = -1;
    report.pictureWidth = 0;
    if (HWND icon = FindIconControl(hwnd)) {
        // Stock icons are shared, so the box holds the very handle LoadIcon gives.
        const HICON shown = reinterpret_cast<HICON>(SendMessageW(icon, STM_GETICON, 0, 0));
        report.pictureWidth = IconWidth(shown);
        for (int i = 0; i < 4; ++i)
            if (shown != nullptr && shown == LoadIconW(nullptr, kStockIcons[i]))
                report.stockIcon = i;
    }
    const HMENU menu = GetSystemMenu(hwnd, FALSE);
    report.menuCount = menu != nullptr ? GetMenuItemCount(menu) : -1;
    for (int i = 0; i < report.menuCount && i < 32; ++i) {
        ProbeMenuItem& item = report.menu[i];
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = item.text;
        info.cch = 64;
        GetMenuItemInfoW(menu, i, TRUE, &info);
        item.id = info.wID;
        item.type = info.fType;
    }
}

} // namespace

extern "C" __attribute__((dllexport)) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wParam,
                                                                       LPARAM lParam) {
    static const UINT probeMessage = RegisterWindowMessageW(kProbeMessage);
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == probeMessage) {
        const std::wstring name = kProbeMappingPrefix + std::to_wstring(GetCurrentProcessId());
        if (HANDLE mapping = OpenFileMappingW(FILE_MAP_WRITE, FALSE, name.c_str())) {
            if (auto* report = static_cast<ProbeReport*>(
                    MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeReport)))) {
                Describe(reinterpret_cast<HWND>(msg->lParam), static_cast<UINT>(msg->wParam),
                         *report);
                InterlockedExchange(&report->done, 1);
                UnmapViewOfFile(report);
            }
            CloseHandle(mapping);
        }
        msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
