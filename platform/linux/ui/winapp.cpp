// CWinApp on Qt: the message loop and the program's icons.
#include "platform/linux/ui/handles.h"

#include <QApplication>

int CWinApp::Run() {
    // A dialog-based program's main window is gone by now; any other keeps
    // the loop running until it closes.
    if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr)
        QApplication::exec();
    return ExitInstance();
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return LoadResourceIcon(static_cast<int>(nIDResource));
}
