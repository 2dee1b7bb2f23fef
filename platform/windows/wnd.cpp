// CWnd on Windows: the questions the program asks its window, answered by the
// window manager, and the default processing handed back to the dialog manager.
#include "platform/windows/dialogproc.h"

LRESULT CWnd::DefWindowProc(UINT, WPARAM, LPARAM) {
    RequestDefaultProcessing();
    return 0;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
    HMENU hMenu = m_hWnd != nullptr ? ::GetSystemMenu(m_hWnd, bRevert) : nullptr;
    if (hMenu == nullptr)
        return nullptr;
    m_systemMenu.m_hMenu = hMenu;
    return &m_systemMenu;
}

BOOL CWnd::IsIconic() const {
    return m_hWnd != nullptr && ::IsIconic(m_hWnd);
}

void CWnd::GetClientRect(LPRECT lpRect) const {
    if (lpRect == nullptr)
        return;
    *lpRect = RECT{0, 0, 0, 0};
    if (m_hWnd != nullptr)
        ::GetClientRect(m_hWnd, lpRect);
}

void CWnd::GetDlgItem(int nID, HWND* phWnd) const {
    if (phWnd != nullptr)
        *phWnd = m_hWnd != nullptr ? ::GetDlgItem(m_hWnd, nID) : nullptr;
}
