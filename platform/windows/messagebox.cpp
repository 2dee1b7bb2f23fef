// AfxMessageBox's window on Windows: the system's message box, owned by the
// window the user is working in, so it is modal over the running dialog.
#include "platform/windows/messagebox.h"

#include "platform/framework.h"

int ShowMessageBoxWindow(LPCWSTR text, UINT type, UINT) {
    // No icon asked for: the framework shows the exclamation mark.
    if ((type & MB_ICONMASK) == 0)
        type |= MB_ICONEXCLAMATION;
    HWND owner = GetActiveWindow();
    CWnd* pMain = AfxGetMainWnd();
    if (owner == nullptr && pMain != nullptr)
        owner = pMain->m_hWnd;
    CWinApp* pApp = AfxGetApp();
    LPCWSTR caption = pApp != nullptr && pApp->m_pszAppName != nullptr ? pApp->m_pszAppName : L"";
    return MessageBoxW(owner, text != nullptr ? text : L"", caption, type);
}
