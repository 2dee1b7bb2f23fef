// BSTR: a length-prefixed, NUL-terminated wide string whose pointer points
// past the length. The length is kept in bytes, as the automation runtime does.
#include "platform/com.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <limits>

namespace {

// Room for the byte count, kept aligned for the characters after it.
constexpr size_t kHeader = sizeof(size_t) > sizeof(uint32_t) ? sizeof(size_t) : sizeof(uint32_t);

uint32_t* LengthOf(BSTR s) {
    return reinterpret_cast<uint32_t*>(reinterpret_cast<char*>(s) - sizeof(uint32_t));
}

} // namespace

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    if (ui > (std::numeric_limits<uint32_t>::max() - kHeader) / sizeof(OLECHAR) - 1)
        return nullptr;
    const size_t bytes = static_cast<size_t>(ui) * sizeof(OLECHAR);
    char* block = static_cast<char*>(std::malloc(kHeader + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    BSTR s = reinterpret_cast<BSTR>(block + kHeader);
    *LengthOf(s) = static_cast<uint32_t>(bytes);
    if (strIn != nullptr)
        std::memcpy(s, strIn, bytes);
    else
        std::memset(s, 0, bytes);
    s[ui] = L'\0';
    return s;
}

BSTR SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr)
        return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(std::wcslen(psz)));
}

void SysFreeString(BSTR bstrString) {
    if (bstrString != nullptr)
        std::free(reinterpret_cast<char*>(bstrString) - kHeader);
}

UINT SysStringLen(BSTR pbstr) {
    return pbstr == nullptr ? 0 : *LengthOf(pbstr) / sizeof(OLECHAR);
}
