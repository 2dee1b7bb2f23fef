// Console text on Windows: a console window takes the wide text as it is;
// a pipe or file gets UTF-8 with CR LF line ends, as Windows tools write it.
#include "platform/console.h"

#include <algorithm>
#include <string>

namespace {

bool WriteBytes(HANDLE handle, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

std::string Utf8WithCrLf(const std::wstring& text) {
    std::wstring crlf;
    for (wchar_t c : text) {
        if (c == L'\n')
            crlf += L'\r';
        crlf += c;
    }
    if (crlf.empty())
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, crlf.data(), static_cast<int>(crlf.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        WideCharToMultiByte(CP_UTF8, 0, crlf.data(), static_cast<int>(crlf.size()), bytes.data(),
                            size, nullptr, nullptr);
    return bytes;
}

} // namespace

bool WriteConsoleText(ConsoleStream stream, const std::wstring& text) {
    HANDLE handle =
        GetStdHandle(stream == ConsoleStream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    if (GetConsoleMode(handle, &mode)) {
        DWORD written = 0;
        return WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written,
                             nullptr) &&
               written == text.size();
    }
    return WriteBytes(handle, Utf8WithCrLf(text));
}
