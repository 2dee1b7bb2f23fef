// The dialog procedure: routes each message through the dialog's message map
// and answers the dialog manager the way a dialog procedure must.
#include "platform/windows/dialogproc.h"
#include "platform/windows/devicenotify.h"

#include <algorithm>

namespace {

// Per thread, and saved around each routed message, since handlers send
// messages of their own (and run nested dialogs) while one is routed.
thread_local bool t_defaultRequested = false;

class CDefaultRequestScope {
public:
    CDefaultRequestScope() : m_previous(t_defaultRequested) { t_defaultRequested = false; }
    ~CDefaultRequestScope() { t_defaultRequested = m_previous; }
    bool Requested() const { return t_defaultRequested; }

private:
    bool m_previous;
};

// Messages whose result a dialog procedure returns itself rather than
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
    switch (message) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    default:
        return false;
    }
}

// The templates carry no DS_CENTER: the dialog is placed centred over its
// owner, or over its monitor's work area when it has none, and kept on that
// work area.
void Centre(HWND hWnd) {
    HWND owner = GetWindow(hWnd, GW_OWNER);
    RECT box;
    GetWindowRect(hWnd, &box);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : hWnd, MONITOR_DEFAULTTONEAREST),
                    &info);
    const RECT area = info.rcWork;
    RECT around = area;
    if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner))
        GetWindowRect(owner, &around);
    const LONG width = box.right - box.left;
    const LONG height = box.bottom - box.top;
    LONG x = around.left + (around.right - around.left - width) / 2;
    LONG y = around.top + (around.bottom - around.top - height) / 2;
    x = std::max(area.left, std::min(x, area.right - width));
    y = std::max(area.top, std::min(y, area.bottom - height));
    SetWindowPos(hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

void RequestDefaultProcessing() {
    t_defaultRequested = true;
}

INT_PTR CALLBACK FrameworkDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* pDialog = reinterpret_cast<CDialog*>(lParam);
        SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        pDialog->m_hWnd = hWnd;
        Centre(hWnd);
        // A dialog that handles WM_DEVICECHANGE wants to hear of capture
        // devices, which the system tells only windows that registered.
        if (pDialog->HandlesMessage(WM_DEVICECHANGE))
            RegisterDeviceChanges(hWnd);
        // TRUE: the dialog manager puts the focus on the first tab stop.
        return pDialog->OnInitDialog();
    }
    auto* pDialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hWnd, DWLP_USER));
    if (message == WM_DESTROY)
        UnregisterDeviceChanges(hWnd);
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(hWnd, DWLP_USER, 0);
    if (pDialog == nullptr || pDialog->m_hWnd != hWnd)
        return FALSE;

    CDefaultRequestScope scope;
    const LRESULT result = pDialog->WindowProc(message, wParam, lParam);
    if (scope.Requested())
        return FALSE;
    if (ReturnsResultDirectly(message))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
