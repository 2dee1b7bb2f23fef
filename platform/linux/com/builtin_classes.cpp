// Built-in classes: the system device enumerator.
#include "platform/linux/com/builtin_classes.h"

#include "platform/linux/com/classfactory.h"

namespace {

// Reports every device category as empty (S_FALSE and no enumerator), as
// the system does on a machine without such devices.
class CEmptyDeviceEnumerator final : public ComObject<ICreateDevEnum> {
public:
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID, IEnumMoniker** ppEnumMoniker,
                                                    DWORD) override {
        if (ppEnumMoniker == nullptr)
            return E_POINTER;
        *ppEnumMoniker = nullptr;
        return S_FALSE;
    }
};

} // namespace

IClassFactory* GetBuiltinClassObject(REFCLSID rclsid) {
    if (IsEqualCLSID(rclsid, CLSID_SystemDeviceEnum))
        return CClassFactory<CEmptyDeviceEnumerator>::Create();
    return nullptr;
}
