// The string table on Linux: the entries the resource converter took from
// the script.
#include "platform/resourcestring.h"
#include "platform/linux/resources.h"

bool ReadResourceString(UINT id, std::wstring& text) {
    const wchar_t* found = FindResourceString(id);
    if (found == nullptr)
        return false;
    text = found;
    return true;
}
