// One read of the profile cross-check and its answer from whichever
// GetPrivateProfileStringW the including side has (the Linux one or the
// system's): the count returned, the last error, and the buffer up to one
// unit past the NUL after the count (a list may end with two), in hex. The
// cases hold no character beyond
// U+FFFF, so a wchar_t is one unit on both sides.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// A null section, key or default is absent.
struct CRead {
    bool m_hasSection = true, m_hasKey = true, m_hasDefault = true;
    std::wstring m_section, m_key, m_default;
    unsigned m_size = 256;
    std::string m_answer; // the Linux side's, as the Windows side reads it
};

inline std::string Answer(const CRead& r, const std::wstring& path) {
    std::vector<wchar_t> buffer(r.m_size + 1, L'#');
    SetLastError(1234);
    const DWORD n = GetPrivateProfileStringW(
        r.m_hasSection ? r.m_section.c_str() : nullptr, r.m_hasKey ? r.m_key.c_str() : nullptr,
        r.m_hasDefault ? r.m_default.c_str() : nullptr, buffer.data(), r.m_size, path.c_str());
    const DWORD error = GetLastError();
    std::string text = "u";
    char digits[16];
    for (DWORD i = 0; i <= n + 1 && i < r.m_size; ++i) {
        std::snprintf(digits, sizeof digits, "%04x", unsigned(buffer[i]));
        text += digits;
    }
    return std::to_string(n) + " " + std::to_string(error) + " " + text;
}
