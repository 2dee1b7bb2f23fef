// The capture filter's interface requests. The property interfaces are made
// afresh on each request; keeping one here would make filter and interface
// hold each other alive.
#include "platform/linux/v4l2/filter.h"

#include "platform/linux/v4l2/propertyinterfaces.h"

#include <new>

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
    return ComObject<IBaseFilter>::QueryInterface(riid, ppv);
}
