// framedemo: the fake kernel's USB webcam, with focus and zoom added, on a
// real display until it is closed: its property frame, or with --dialog the
// main dialog listing it (its 属性 opens the same frame). The screenshots
// come from it (tools/screenshots.sh), since the machine that takes them
// may have no camera.
#include "app/vk37setdlg.h"
#include "platform/com.h"
#include "platform/linux/ui/uiframework.h"
#include "platform/linux/v4l2/enumerator.h"
#include "tests/platform/linux/ui/framesupport.h"
#include "tests/platform/linux/v4l2/fakekernel.h"

#include <QApplication>

#include <cstring>

namespace {

// The system device enumerator, over the fake kernel.
class CFakeSystemDevices final : public ComObject<IClassFactory> {
public:
    explicit CFakeSystemDevices(std::shared_ptr<CFakeKernel> kernel)
        : m_kernel(std::move(kernel)) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID riid, void** ppv) override {
        ComPtr<CSystemDeviceEnum> devices;
        devices.Attach(new CSystemDeviceEnum(m_kernel));
        return devices->QueryInterface(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::shared_ptr<CFakeKernel> m_kernel;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InitFrameworkUi();
    auto kernel = std::make_shared<CFakeKernel>();
    AddUsbWebcam(*kernel, 0, "HD Webcam", "usb-0000:00:14.0-2");
    AddFocusAndZoom(kernel->Node(0));
    if (argc > 1 && std::strcmp(argv[1], "--dialog") == 0) {
        CWinApp winApp(L"VK37Set");
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ComPtr<IClassFactory> devices;
        devices.Attach(new CFakeSystemDevices(kernel));
        DWORD cookie = 0;
        CoRegisterClassObject(CLSID_SystemDeviceEnum, devices.Get(), CLSCTX_INPROC_SERVER,
                              REGCLS_MULTIPLEUSE, &cookie);
        {
            CVK37SetDlg dlg;
            dlg.DoModal();
        }
        CoRevokeClassObject(cookie);
        CoUninitialize();
        return 0;
    }
    ComPtr<IBaseFilter> filter = BindFirstCamera(kernel);
    if (!filter)
        return 1;
    return OpenPropertyFrame(filter.Get(), L"HD Webcam") == S_OK ? 0 : 1;
}
