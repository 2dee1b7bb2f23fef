// Modal dialogs built from the program's dialog templates, and dialog data
// exchange between their controls and member variables.
#pragma once

#include "platform/afx/wnd.h"

class CDataExchange {
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
        : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}

    BOOL m_bSaveAndValidate; // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;

    // The window of control nIDC of the dialog, or null.
    HWND PrepareCtrl(int nIDC);
};

// Attaches rControl to control nIDC the first time the data is exchanged.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The selected item of combo box nIDC as its index; -1 for no selection.
void DDX_CBIndex(CDataExchange* pDX, int nIDC, int& index);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Builds the dialog from its template, runs it until EndDialog and
    // returns the value given to EndDialog; -1 when the dialog cannot be made.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    // The window this dialog runs over: its parent's, else the application's
    // main window (unless that is this dialog); null for none.
    HWND OwnerHandle() const;

    UINT m_nIDHelp;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    BOOL m_bEnded = FALSE;
    int m_nModalResult = -1;
};
