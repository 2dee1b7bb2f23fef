// CWinApp: the single application object and the framework's access to it.
#include "platform/linux/ui/handles.h"

#include <QApplication>

namespace {

CWinApp* g_pApp = nullptr;

} // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName) {
    if (lpszAppName != nullptr) {
        m_appName = lpszAppName;
        m_pszAppName = m_appName.c_str();
    }
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this)
        g_pApp = nullptr;
}

void CWinApp::SetAppNameFromExe(LPCTSTR lpszExeName) {
    if (m_pszAppName != nullptr || lpszExeName == nullptr)
        return;
    m_appName = lpszExeName;
    m_pszAppName = m_appName.c_str();
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::Run() {
    // A dialog-based program's main window is gone by now; any other keeps
    // the loop running until it closes.
    if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr)
        QApplication::exec();
    return ExitInstance();
}

int CWinApp::ExitInstance() {
    return 0;
}

HICON CWinApp::LoadIcon(UINT nIDResource) const {
    return LoadResourceIcon(static_cast<int>(nIDResource));
}

// The program ships no help file.
void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}
