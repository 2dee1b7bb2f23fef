// The version record on Windows: read back from the running executable
// through the system's version calls, in the record's first translation.
#include "platform/versioninfo.h"

#include <string>
#include <vector>

bool ReadVersionString(LPCWSTR name, std::wstring& value) {
    if (name == nullptr)
        return false;
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return false;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return false;
    std::vector<BYTE> record(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, record.data()))
        return false;

    struct Translation {
        WORD language;
        WORD codePage;
    };
    Translation* translations = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation",
                        reinterpret_cast<void**>(&translations), &length) ||
        length < sizeof(Translation))
        return false;
    // "\StringFileInfo\080403a8\name": language and code page as four hex digits each.
    std::wstring query = L"\\StringFileInfo\\";
    for (WORD part : {translations[0].language, translations[0].codePage})
        for (int shift = 12; shift >= 0; shift -= 4)
            query += L"0123456789abcdef"[(part >> shift) & 0xF];
    query += L"\\" + std::wstring(name);
    wchar_t* text = nullptr;
    if (!VerQueryValueW(record.data(), query.c_str(), reinterpret_cast<void**>(&text), &length) ||
        text == nullptr)
        return false;
    // The length counts the terminator when there is one.
    value.assign(text, length > 0 && text[length - 1] == L'\0' ? length - 1 : length);
    return true;
}
