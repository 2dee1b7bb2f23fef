// The framework's start-up on Windows: finds the single application object,
// names it after the executable, installs the message box window and runs
// InitInstance; its end becomes the process's exit status.
#include "platform/framework.h"
#include "platform/msgbox_hook.h"
#include "platform/windows/messagebox.h"
#include "platform/windows/modulename.h"

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr)
        return 1;

    const std::wstring name = ExecutableBaseName();
    pApp->SetAppNameFromExe(name.c_str());
    SetMessageBoxHandler(&ShowMessageBoxWindow);

    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
