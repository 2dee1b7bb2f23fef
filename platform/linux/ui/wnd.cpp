// CWnd on Qt: the window's built-in behaviour, the questions the program asks
// its window, and SendMessageW, which hands a dialog's own messages to its
// message map.
#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"

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
