// Registration for device-interface notifications of capture devices, which
// DirectShow's video input devices register their interfaces under.
#include "platform/windows/devicenotify.h"

#include <dbt.h>

namespace {

// KSCATEGORY_CAPTURE, spelled out: ks.h would bring in the whole kernel
// streaming header set for one GUID.
constexpr GUID kCaptureCategory = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

constexpr const wchar_t* kProperty = L"VK37DeviceNotify";

} // namespace

void RegisterDeviceChanges(HWND hWnd) {
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof filter;
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = kCaptureCategory;
    HDEVNOTIFY notify = RegisterDeviceNotificationW(hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
    if (notify != nullptr)
        SetPropW(hWnd, kProperty, notify);
}

void UnregisterDeviceChanges(HWND hWnd) {
    if (HANDLE notify = RemovePropW(hWnd, kProperty))
        UnregisterDeviceNotification(notify);
}
