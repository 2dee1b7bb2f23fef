// AfxMessageBox on Linux: hands the text to the installed handler. Until the
// dialog library installs its window, the text goes to standard error.
#include "platform/framework.h"
#include "platform/msgbox_hook.h"

#include <cstdio>
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
    std::fprintf(stderr, "VK37Set: %ls\n", lpszText != nullptr ? lpszText : L"");
    return IDOK;
}
