// GetPropertyDefault on Linux: a V4L2 camera's property interfaces know the
// default mode as well as the value; any other object answers as DirectShow
// does, with the range query's default and the mode it is in.
#include "platform/propertydefault.h"

#include "platform/comptr.h"
#include "platform/linux/v4l2/propertydefaults.h"

extern "C" const IID IID_IV4l2PropertyDefaults = {
    0x5E0C3A41, 0x9D27, 0x4B8E, {0xA6, 0x1F, 0x37, 0xC2, 0x90, 0x4D, 0x15, 0x6B}};

namespace {

template <class Interface> HRESULT DefaultOf(Interface* itf, LONG property, PropertyDefault* def) {
    if (itf == nullptr || def == nullptr)
        return E_POINTER;
    ComPtr<IV4l2PropertyDefaults> defaults;
    if (itf->QueryInterface(IID_IV4l2PropertyDefaults, defaults.ReleaseAndGetAddressOfVoid()) ==
            S_OK &&
        defaults)
        return defaults->GetDefault(property, def);
    return RangeDefault(itf, property, def);
}

} // namespace

HRESULT GetPropertyDefault(IAMVideoProcAmp* pProcAmp, LONG Property, PropertyDefault* pDefault) {
    return DefaultOf(pProcAmp, Property, pDefault);
}

HRESULT GetPropertyDefault(IAMCameraControl* pCameraControl, LONG Property,
                           PropertyDefault* pDefault) {
    return DefaultOf(pCameraControl, Property, pDefault);
}
