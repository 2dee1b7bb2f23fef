// CWinApp: the single application object and the framework's access to it.
// Running the message loop and loading icons are each system's own.
#include "platform/framework.h"

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

int CWinApp::ExitInstance() {
    return 0;
}

// The program ships no help file.
void CWinApp::OnHelp() {}

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWnd* AfxGetMainWnd() {
    return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr;
}
