// AfxMessageBox: hands the text to the installed handler (the dialog
// framework's window, or a test's recorder). Without one, the system's plain
// way of showing a text takes over.
#include "platform/framework.h"
#include "platform/msgbox_hook.h"

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
    return ShowPlainMessage(lpszText != nullptr ? lpszText : L"", nType);
}
