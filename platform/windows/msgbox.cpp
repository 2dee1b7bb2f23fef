// AfxMessageBox on Windows: hands the text to the installed handler (the
// dialog framework's window, or a test's recorder). Without one it shows a
// system message box captioned with the executable's name.
#include "platform/framework.h"
#include "platform/msgbox_hook.h"
#include "platform/windows/modulename.h"

#include <mutex>
#include <utility>

namespace {

std::mutex g_handlerLock;
MessageBoxHandler g_handler;

} // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard<std::mutex> lock(g_handlerLock);
    return std::exchange(g_handler, std::move(handler));
}

int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
    MessageBoxHandler handler;
    {
        std::lock_guard<std::mutex> lock(g_handlerLock);
        handler = g_handler;
    }
    if (handler)
        return handler(lpszText, nType, nIDHelp);
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    return MessageBoxW(GetActiveWindow(), lpszText != nullptr ? lpszText : L"",
                       ExecutableBaseName().c_str(), nType);
}
