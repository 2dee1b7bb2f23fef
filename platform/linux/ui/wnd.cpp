// CWnd on Qt: the window's built-in behaviour, the questions the program asks
// its window, SendMessageW, which hands a dialog's own messages to its
// message map, and the window manager's enabling, focus and activation.
#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"

#include <QApplication>
#include <QPointer>

#include <map>

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallClassProc(m_hWnd, message, wParam, lParam);
}

CMenu* CWnd::GetSystemMenu(BOOL) const {
    CDialogWindow* window = CDialogWindow::FromHandle(m_hWnd);
    return window != nullptr ? window->SystemMenu() : nullptr;
}

BOOL CWnd::IsIconic() const {
    QWidget* widget = WidgetFromHandle(m_hWnd);
    return widget != nullptr && widget->isMinimized();
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (lpRect == nullptr)
        return;
    QWidget* widget = WidgetFromHandle(m_hWnd);
    *lpRect = RECT{0, 0, widget != nullptr ? widget->width() : 0,
                   widget != nullptr ? widget->height() : 0};
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
    if (phWnd == nullptr)
        return;
    CDialogWindow* window = CDialogWindow::FromHandle(m_hWnd);
    *phWnd = window != nullptr ? HandleFromWidget(window->Control(nID)) : nullptr;
}

LRESULT SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == nullptr)
        return 0;
    // A dialog's own messages go through its message map first.
    if (CDialogWindow* window = CDialogWindow::FromHandle(hWnd))
        return window->Dialog()->WindowProc(Msg, wParam, lParam);
    return CallClassProc(hWnd, Msg, wParam, lParam);
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
    QWidget* widget = WidgetFromHandle(hWnd);
    if (widget == nullptr)
        return FALSE;
    const BOOL wasDisabled = !widget->isEnabled();
    // Disabling a window takes the focus from its controls; Windows' dialogs
    // give it back to the same control once enabled again.
    static std::map<QWidget*, QPointer<QWidget>> focusBefore;
    if (widget->isWindow() && !bEnable && !wasDisabled)
        focusBefore[widget] = widget->focusWidget();
    widget->setEnabled(bEnable != FALSE);
    if (bEnable) {
        const auto found = focusBefore.find(widget);
        if (found != focusBefore.end()) {
            if (found->second != nullptr && widget->focusWidget() == nullptr)
                found->second->setFocus(Qt::OtherFocusReason);
            focusBefore.erase(found);
        }
    }
    return wasDisabled;
}

BOOL IsWindowEnabled(HWND hWnd) {
    QWidget* widget = WidgetFromHandle(hWnd);
    return widget != nullptr && widget->isEnabled();
}

HWND GetFocus() {
    return HandleFromWidget(QApplication::focusWidget());
}

BOOL SetForegroundWindow(HWND hWnd) {
    QWidget* widget = WidgetFromHandle(hWnd);
    if (widget == nullptr)
        return FALSE;
    widget->window()->raise();
    widget->window()->activateWindow();
    return TRUE;
}
