// The framework's start-up: checks for a display, makes the QApplication,
// hands control to the single application object's InitInstance and turns
// its end into the process's exit status.
#include "platform/linux/ui/uiframework.h"

#include "platform/framework.h"

#include <QApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && value[0] != '\0';
}

bool HasDisplay() {
    // An explicit platform (offscreen, for tests) needs no display server.
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

void ExitWithoutDisplay() {
    std::fputs("VK37Set: no graphical display available (set DISPLAY or WAYLAND_DISPLAY)\n",
               stderr);
    std::fflush(stderr);
    _exit(1);
}

// While Qt connects to the display, its complaints are held back: a failure
// ends the process with the one line above instead of Qt's abort.
void StartupMessageHandler(QtMsgType type, const QMessageLogContext&, const QString&) {
    if (type == QtFatalMsg)
        ExitWithoutDisplay();
}

} // namespace

int main(int argc, char* argv[]) {
    if (!HasDisplay())
        ExitWithoutDisplay();

    const QtMessageHandler previous = qInstallMessageHandler(&StartupMessageHandler);
    QApplication application(argc, argv);
    qInstallMessageHandler(previous);

    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) {
        std::fputs("VK37Set: the program has no application object\n", stderr);
        return 1;
    }
    const std::wstring exeName =
        QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName().toStdWString();
    pApp->SetAppNameFromExe(exeName.c_str());
    InitFrameworkUi();

    if (!pApp->InitInstance())
        return pApp->ExitInstance();
    return pApp->Run();
}
