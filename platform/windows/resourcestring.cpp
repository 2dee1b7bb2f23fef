// The string table on Windows: read from the running executable's resources.
#include "platform/resourcestring.h"

bool ReadResourceString(UINT id, std::wstring& text) {
    // With no buffer, LoadStringW hands out the resource's own read-only text.
    const wchar_t* found = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&found), 0);
    if (length <= 0 || found == nullptr)
        return false;
    text.assign(found, static_cast<size_t>(length));
    return true;
}
