// What the framework reads from the program's compiled resources: strings,
// icons and the system menu's items, and painting with a window's device
// context.
#include "platform/framework.h"

BOOL CString::LoadString(UINT nID) {
    // With no buffer, LoadStringW hands out the resource's own read-only text.
    const wchar_t* text = nullptr;
    const int length =
        ::LoadStringW(GetModuleHandleW(nullptr), nID, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || text == nullptr)
        return FALSE;
    m_str.assign(text, static_cast<size_t>(length));
    return TRUE;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return ::LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(nIDResource));
}

HINSTANCE AfxGetResourceHandle() {
    return GetModuleHandleW(nullptr);
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCTSTR lpszNewItem) {
    return m_hMenu != nullptr && ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_pWnd(pWnd), m_ps() {
    if (pWnd != nullptr && pWnd->m_hWnd != nullptr)
        m_hDC = BeginPaint(pWnd->m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC() {
    if (m_hDC != nullptr)
        EndPaint(m_pWnd->m_hWnd, &m_ps);
}
