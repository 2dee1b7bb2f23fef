// The running executable's base name, from the module's own path.
#include "platform/windows/modulename.h"

#include "platform/wintypes.h"

#include <vector>

std::wstring ExecutableBaseName() {
    // Paths may exceed MAX_PATH; grow until the name fits.
    std::vector<wchar_t> path(MAX_PATH);
    DWORD length = 0;
    for (;;) {
        length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size() || path.size() >= 32768)
            break;
        path.resize(path.size() * 2);
    }
    std::wstring name(path.data(), length);
    const size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos && dot > 0)
        name.erase(dot);
    return name;
}
