// CDialog on Qt: a modal run of a dialog template in a window of its own.
#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"

#include <QApplication>

namespace {

// The window a dialog without an owner runs over: the dialog running now.
QWidget* OwnerWidget(HWND owner) {
    return owner != nullptr ? WidgetFromHandle(owner)->window() : CDialogWindow::Active();
}

} // namespace

INT_PTR CDialog::DoModal() {
    const DialogTemplate* tpl = FindDialogTemplate(static_cast<int>(m_nIDHelp));
    if (tpl == nullptr || qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return -1;

    QWidget* owner = OwnerWidget(OwnerHandle());
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
