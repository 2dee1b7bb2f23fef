// The application object: one per program, constructed statically; the
// framework's start-up finds it and calls InitInstance.
#pragma once

#include "platform/afx/wnd.h"

#include <string>

class CWinApp : public CCmdTarget {
public:
    // Without a name the framework takes the executable's.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    ~CWinApp() override;

    virtual BOOL InitInstance();
    // Runs the message loop until the main window is gone; its result is
    // the process's exit status.
    virtual int Run();
    virtual int ExitInstance();

    HICON LoadIcon(UINT nIDResource) const;

    afx_msg void OnHelp();

    LPCTSTR m_pszAppName = nullptr;
    CWnd* m_pMainWnd = nullptr;

    // Called by the start-up with the executable's name.
    void SetAppNameFromExe(LPCTSTR lpszExeName);

    DECLARE_MESSAGE_MAP()

private:
    std::wstring m_appName;
};

CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
// The module whose resources the program loads: the executable.
HINSTANCE AfxGetResourceHandle();
