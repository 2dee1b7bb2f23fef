// The application's start and end: COM and the common controls are set up
// before the main dialog runs, and COM is shut down only after the dialog
// object, with the device interfaces its holder keeps, is gone.
#include "app/vk37set.h"

#include "app/vk37setdlg.h"
#include "platform/com.h"
#include "platform/comctlinit.h"

BEGIN_MESSAGE_MAP(CVK37SetApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CVK37SetApp::InitInstance() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    INITCOMMONCONTROLSEX InitCtrls;
    InitCtrls.dwSize = sizeof(InitCtrls);
    InitCtrls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&InitCtrls);

    CWinApp::InitInstance();

    {
        CVK37SetDlg dlg;
        m_pMainWnd = &dlg;
        dlg.DoModal();
    } // the dialog, and with it the holder's interfaces, goes here

    CoUninitialize();
    return TRUE;
}
