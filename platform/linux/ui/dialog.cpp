// CDialog: a modal run of a dialog template, its initialisation, OK and
// cancel, and dialog data exchange.
#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"

#include <QApplication>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace {

// The window a dialog without a parent belongs to: the application's main
// window, else the dialog running now.
QWidget* OwnerWidget(const CDialog* pDialog, CWnd* pParentWnd) {
    if (pParentWnd != nullptr && pParentWnd->m_hWnd != nullptr)
        return WidgetFromHandle(pParentWnd->m_hWnd)->window();
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != nullptr && pMain != pDialog && pMain->m_hWnd != nullptr)
        return WidgetFromHandle(pMain->m_hWnd)->window();
    return CDialogWindow::Active();
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
    const DialogTemplate* tpl = FindDialogTemplate(static_cast<int>(m_nIDHelp));
    if (tpl == nullptr || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return -1;

    QWidget* owner = OwnerWidget(this, m_pParentWnd);
    m_bEnded = FALSE;
    m_nModalResult = -1;
    int result = -1;
    {
        CDialogWindow window(this, *tpl);
        m_hWnd = HandleFromWidget(&window);
        // TRUE: the focus goes to the first tab stop.
        if (OnInitDialog()) {
            if (QWidget* first = window.FirstTabStop())
                first->setFocus(Qt::OtherFocusReason);
        }
        result = m_bEnded ? m_nModalResult : window.RunModal(owner);
        DetachWindow();
    }
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this)
        pApp->m_pMainWnd = nullptr;
    return result;
}

void CDialog::EndDialog(int nResult) {
    m_bEnded = TRUE;
    m_nModalResult = nResult;
    if (CDialogWindow* window = CDialogWindow::FromHandle(m_hWnd))
        window->End(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
    return TRUE;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

HWND CDataExchange::PrepareCtrl(int nIDC) {
    HWND hWnd = nullptr;
    if (m_pDlgWnd != nullptr)
        m_pDlgWnd->GetDlgItem(nIDC, &hWnd);
    return hWnd;
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
    if (rControl.m_hWnd == nullptr)
        rControl.SubclassDlgItem(static_cast<UINT>(nIDC), pDX->m_pDlgWnd);
}

void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index) {
    HWND hWnd = pDX->PrepareCtrl(nIDC);
    if (hWnd == nullptr)
        return;
    if (pDX->m_bSaveAndValidate)
        index = static_cast<int>(::SendMessageW(hWnd, CB_GETCURSEL, 0, 0));
    else
        ::SendMessageW(hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}
