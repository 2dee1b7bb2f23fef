// CWinApp on Windows: the message loop of a program whose main window
// outlives InitInstance. A dialog-based program's main window is gone by
// then, so the loop does not run.
#include "platform/framework.h"

int CWinApp::Run() {
    if (m_pMainWnd != nullptr && m_pMainWnd->m_hWnd != nullptr) {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}
