// Console text and the working directory on Linux: text goes out as UTF-8,
// the encoding of Debian's terminals and of the names the cameras report.
#include "platform/console.h"
#include "platform/linux/errno_mapping.h"
#include "platform/linux/profile/profileencoding.h"

#include <cerrno>
#include <string>
#include <unistd.h>

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool WriteConsoleText(ConsoleStream stream, const std::wstring& text) {
    std::string bytes;
    if (!profile::WideToUtf8(text.c_str(), bytes))
        return false;
    return WriteAll(stream == ConsoleStream::Output ? STDOUT_FILENO : STDERR_FILENO, bytes);
}

BOOL SetCurrentDirectoryW(LPCWSTR path) {
    std::string bytes;
    if (path == nullptr || !profile::WideToUtf8(path, bytes) || bytes.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (chdir(bytes.c_str()) != 0) {
        SetLastError(Win32ErrorFromErrno(errno));
        return FALSE;
    }
    return TRUE;
}
