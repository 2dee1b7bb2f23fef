// Enumeration and naming helpers for the camera-source tests.
#include "tests/platform/linux/v4l2/devicetest.h"

#include "platform/linux/v4l2/enumerator.h"

#include <gtest/gtest.h>

std::vector<ComPtr<IMoniker>> Enumerate(const std::shared_ptr<CFakeKernel>& kernel,
                                        HRESULT* result) {
    ComPtr<ICreateDevEnum> devEnum;
    devEnum.Attach(new CSystemDeviceEnum(kernel));
    ComPtr<IEnumMoniker> monikers;
    const HRESULT hr = devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory,
                                                      monikers.ReleaseAndGetAddressOf(), 0);
    if (result != nullptr)
        *result = hr;
    std::vector<ComPtr<IMoniker>> list;
    if (!monikers)
        return list;
    EXPECT_EQ(monikers->Reset(), S_OK);
    for (;;) {
        ComPtr<IMoniker> moniker;
        if (monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) != S_OK)
            break;
        list.push_back(moniker);
    }
    return list;
}

std::wstring FriendlyName(IMoniker* moniker, LPCOLESTR property) {
    ComPtr<IPropertyBag> bag;
    HRESULT hr = moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                        bag.ReleaseAndGetAddressOfVoid());
    if (hr != S_OK)
        return L"error binding the bag";
    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    hr = bag->Read(property, &value, nullptr);
    std::wstring name = L"error reading the name";
    if (hr == S_OK && value.vt == VT_BSTR)
        name.assign(value.bstrVal, SysStringLen(value.bstrVal));
    VariantClear(&value);
    return name;
}

ComPtr<IBaseFilter> Bind(IMoniker* moniker, HRESULT* result) {
    ComPtr<IBaseFilter> filter;
    const HRESULT hr = moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                             filter.ReleaseAndGetAddressOfVoid());
    if (result != nullptr)
        *result = hr;
    return filter;
}
