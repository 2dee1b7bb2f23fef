// CDialog: initialisation, OK and cancel, and dialog data exchange. The modal
// run itself (DoModal, EndDialog) is each system's own.
#include "platform/framework.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

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

HWND CDialog::OwnerHandle() const {
    if (m_pParentWnd != nullptr && m_pParentWnd->m_hWnd != nullptr)
        return m_pParentWnd->m_hWnd;
    CWnd* pMain = AfxGetMainWnd();
    if (pMain != nullptr && pMain != this && pMain->m_hWnd != nullptr)
        return pMain->m_hWnd;
    return nullptr;
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
