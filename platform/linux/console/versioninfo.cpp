// The version record on Linux: the strings the resource converter took from
// the script.
#include "platform/versioninfo.h"
#include "platform/linux/resources.h"

bool ReadVersionString(LPCWSTR name, std::wstring& value) {
    const wchar_t* found = name != nullptr ? FindVersionString(name) : nullptr;
    if (found == nullptr)
        return false;
    value = found;
    return true;
}
