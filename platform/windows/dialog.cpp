// CDialog on Windows: a modal run of the compiled dialog template through
// the dialog manager, with the framework's dialog procedure.
#include "platform/windows/dialogproc.h"

INT_PTR CDialog::DoModal() {
    // A dialog without a parent belongs to the application's main window, so
    // that window is disabled while this one runs.
    HWND owner = OwnerHandle();
    if (owner != nullptr)
        owner = GetAncestor(owner, GA_ROOT);

    m_bEnded = FALSE;
    m_nModalResult = -1;
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_nIDHelp), owner,
                        &FrameworkDialogProc, reinterpret_cast<LPARAM>(this));
    DetachWindow();
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    return result;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = TRUE;
    m_nModalResult = nResult;
    if (m_hWnd != nullptr)
        ::EndDialog(m_hWnd, nResult);
}
