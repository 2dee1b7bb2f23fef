// The capture filter's interface requests. The property interfaces are made
// afresh on each request; keeping one here would make filter and interface
// hold each other alive.
#include "platform/linux/v4l2/filter.h"

#include "platform/linux/v4l2/propertyinterfaces.h"

#include <algorithm>
#include <new>

extern "C" const CLSID CLSID_V4l2ProcAmpPropertyPage = {
    0x3B8F2C61, 0x47A0, 0x4E59, {0x9C, 0x12, 0x6D, 0xE4, 0x81, 0x0B, 0x57, 0xA3}};
extern "C" const CLSID CLSID_V4l2CameraControlPropertyPage = {
    0x3B8F2C62, 0x47A0, 0x4E59, {0x9C, 0x12, 0x6D, 0xE4, 0x81, 0x0B, 0x57, 0xA3}};

namespace {

template <class Object, class Interface> HRESULT HandOut(CCaptureFilter* filter, void** ppv) {
    Interface* object = new (std::nothrow) Object(filter);
    if (object == nullptr)
        return E_OUTOFMEMORY;
    *ppv = object; // the new object's first reference goes to the caller
    return S_OK;
}

} // namespace

HRESULT STDMETHODCALLTYPE CCaptureFilter::QueryInterface(REFIID riid, void** ppv) {
    if (ppv == nullptr)
        return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(riid, IID_IAMVideoProcAmp)) {
        if (!HasAnyProperty(m_device, CPropertySet::ProcAmp))
            return E_NOINTERFACE;
        return HandOut<CVideoProcAmp, IAMVideoProcAmp>(this, ppv);
    }
    if (IsEqualIID(riid, IID_IAMCameraControl)) {
        if (!HasAnyProperty(m_device, CPropertySet::CameraControl))
            return E_NOINTERFACE;
        return HandOut<CCameraControl, IAMCameraControl>(this, ppv);
    }
    return ComObject<IBaseFilter, ISpecifyPropertyPages>::QueryInterface(riid, ppv);
}

HRESULT STDMETHODCALLTYPE CCaptureFilter::GetPages(CAUUID* pPages) {
    if (pPages == nullptr)
        return E_POINTER;
    pPages->cElems = 0;
    pPages->pElems = nullptr;
    CLSID pages[2];
    ULONG count = 0;
    if (HasAnyProperty(m_device, CPropertySet::ProcAmp))
        pages[count++] = CLSID_V4l2ProcAmpPropertyPage;
    if (HasAnyProperty(m_device, CPropertySet::CameraControl))
        pages[count++] = CLSID_V4l2CameraControlPropertyPage;
    if (count == 0)
        return S_OK;
    auto* elems = static_cast<GUID*>(CoTaskMemAlloc(count * sizeof(GUID)));
    if (elems == nullptr)
        return E_OUTOFMEMORY;
    std::copy(pages, pages + count, elems);
    pPages->cElems = count;
    pPages->pElems = elems;
    return S_OK;
}
