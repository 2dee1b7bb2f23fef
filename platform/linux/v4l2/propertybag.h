// The property bag of a camera moniker: its friendly name, its plain name and
// its node path.
#pragma once

#include "platform/comobject.h"

#include <string>

class CDevicePropertyBag final : public ComObject<IPropertyBag> {
public:
    CDevicePropertyBag(std::wstring friendlyName, std::wstring plainName, std::wstring devicePath)
        : m_friendlyName(std::move(friendlyName)), m_plainName(std::move(plainName)),
          m_devicePath(std::move(devicePath)) {}

    // "FriendlyName", "PlainName" (the friendly name without the suffix that
    // tells namesakes apart) and "DevicePath" as VT_BSTR; any other name is
    // not found.
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                   IErrorLog* pErrorLog) override;

private:
    std::wstring m_friendlyName;
    std::wstring m_plainName;
    std::wstring m_devicePath;
};
