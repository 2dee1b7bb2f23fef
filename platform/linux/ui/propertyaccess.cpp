// The two property interfaces behind one set of calls.
#include "platform/linux/ui/propertyaccess.h"

bool SameSetting(const CPropertySetting& a, const CPropertySetting& b) {
    if (a.Automatic() || b.Automatic())
        return a.Automatic() == b.Automatic();
    return a.value == b.value;
}

bool IsDeviceGone(HRESULT hr) {
    return hr == HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED) ||
           hr == HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
}

CPropertyAccess::CPropertyAccess(IUnknown* object, REFIID iid) {
    if (object == nullptr)
        return;
    if (IsEqualIID(iid, IID_IAMVideoProcAmp))
        object->QueryInterface(iid, m_procAmp.ReleaseAndGetAddressOfVoid());
    else if (IsEqualIID(iid, IID_IAMCameraControl))
        object->QueryInterface(iid, m_cameraControl.ReleaseAndGetAddressOfVoid());
}

HRESULT CPropertyAccess::GetRange(LONG property, LONG* min, LONG* max, LONG* step, LONG* def,
                                  LONG* caps) const {
    if (m_procAmp)
        return m_procAmp->GetRange(property, min, max, step, def, caps);
    if (m_cameraControl)
        return m_cameraControl->GetRange(property, min, max, step, def, caps);
    return E_NOINTERFACE;
}

HRESULT CPropertyAccess::Get(LONG property, CPropertySetting* setting) const {
    if (m_procAmp)
        return m_procAmp->Get(property, &setting->value, &setting->flags);
    if (m_cameraControl)
        return m_cameraControl->Get(property, &setting->value, &setting->flags);
    return E_NOINTERFACE;
}

HRESULT CPropertyAccess::Set(LONG property, const CPropertySetting& setting) const {
    if (m_procAmp)
        return m_procAmp->Set(property, setting.value, setting.flags);
    if (m_cameraControl)
        return m_cameraControl->Set(property, setting.value, setting.flags);
    return E_NOINTERFACE;
}

HRESULT CPropertyAccess::GetDefault(LONG property, PropertyDefault* def) const {
    if (m_procAmp)
        return GetPropertyDefault(m_procAmp.Get(), property, def);
    if (m_cameraControl)
        return GetPropertyDefault(m_cameraControl.Get(), property, def);
    return E_NOINTERFACE;
}
