// Reading a camera's name out of its property bag. Property names compare
// without regard to case, as the registry values behind them do on Windows.
#include "platform/linux/v4l2/propertybag.h"

namespace {

// ASCII folding only: the names are fixed ASCII words, and the C library's
// folding would depend on the process locale.
wchar_t Fold(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? c - L'A' + L'a' : c;
}

bool SameName(LPCOLESTR a, const wchar_t* b) {
    for (; *a != L'\0' && *b != L'\0'; ++a, ++b)
        if (Fold(*a) != Fold(*b))
            return false;
    return *a == *b;
}

} // namespace

HRESULT STDMETHODCALLTYPE CDevicePropertyBag::Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                                   IErrorLog*) {
    if (pszPropName == nullptr || pVar == nullptr)
        return E_POINTER;
    const std::wstring* value = nullptr;
    if (SameName(pszPropName, L"FriendlyName"))
        value = &m_friendlyName;
    else if (SameName(pszPropName, L"PlainName"))
        value = &m_plainName;
    else if (SameName(pszPropName, L"DevicePath"))
        value = &m_devicePath;
    else
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    // The caller names the type it wants, or leaves it to the bag.
    if (pVar->vt != VT_BSTR && pVar->vt != VT_EMPTY)
        return DISP_E_TYPEMISMATCH;
    const BSTR text = SysAllocString(value->c_str());
    if (text == nullptr)
        return E_OUTOFMEMORY;
    pVar->vt = VT_BSTR;
    pVar->bstrVal = text;
    return S_OK;
}
