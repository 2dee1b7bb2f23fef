// CWnd: message routing through the maps, the default handlers, and the
// wrappers of a dialog's controls. What a window is, and its built-in
// behaviour, are each system's own.
#include "platform/framework.h"

#include <algorithm>
#include <utility>

CWnd::~CWnd() {
    if (m_pSubclassParent != nullptr) {
        std::vector<CWnd*>& siblings = m_pSubclassParent->m_subclassed;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    DetachWindow();
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const CurrentMessage current{message, wParam, lParam};
    const CurrentMessage* previous = std::exchange(m_pCurrentMsg, &current);
    LRESULT result = 0;
    bool handled = false;
    if (message == WM_COMMAND) {
        handled = OnCommand(wParam, lParam) != FALSE;
    } else if (const AFX_MSGMAP_ENTRY* entry = FindMessageEntry(message, 0, 0)) {
        result = entry->pfnHandler(this, wParam, lParam);
        handled = true;
    }
    if (!handled)
        result = DefWindowProc(message, wParam, lParam);
    m_pCurrentMsg = previous;
    return result;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    const UINT nID = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (OnCmdMsg(nID, nCode))
        return TRUE;
    // Commands no window handles reach the application, as the framework routes them.
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode);
}

LRESULT CWnd::Default() {
    if (m_pCurrentMsg == nullptr)
        return 0;
    return DefWindowProc(m_pCurrentMsg->message, m_pCurrentMsg->wParam, m_pCurrentMsg->lParam);
}

void CWnd::OnSysCommand(UINT, LPARAM) {
    Default();
}
void CWnd::OnPaint() {
    Default();
}
HCURSOR CWnd::OnQueryDragIcon() {
    return reinterpret_cast<HCURSOR>(Default());
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr || m_hWnd != nullptr)
        return FALSE;
    HWND hWnd = nullptr;
    pParent->GetDlgItem(static_cast<int>(nID), &hWnd);
    if (hWnd == nullptr)
        return FALSE;
    m_hWnd = hWnd;
    m_pSubclassParent = pParent;
    pParent->m_subclassed.push_back(this);
    return TRUE;
}

void CWnd::DetachWindow() {
    for (CWnd* child : m_subclassed) {
        child->m_hWnd = nullptr;
        child->m_pSubclassParent = nullptr;
    }
    m_subclassed.clear();
    m_hWnd = nullptr;
}
