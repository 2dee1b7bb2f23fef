// The property bag of a camera moniker: its friendly name and its node path.
#pragma once

#include "platform/comobject.h"

#include <string>

class CDevicePropertyBag final : public ComObject<IPropertyBag> {
public:
    CDevicePropertyBag(std::wstring friendlyName, std::wstring devicePath)
        : m_friendlyName(std::move(friendlyName)), m_devicePath(std::move(devicePath)) {}

    // "FriendlyName" and "DevicePath" as VT_BSTR; any other name is not found.
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                   IErrorLog* pErrorLog) override;

private:
    std::wstring m_friendlyName;
    std::wstring m_devicePath;
};
