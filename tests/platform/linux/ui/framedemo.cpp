// framedemo: the property frame on the fake kernel's USB webcam, with focus
// and zoom added, on a real display until it is closed. The screenshots of
// the frame come from it (tools/screenshots.sh), since the machine that
// takes them may have no camera.
#include "platform/linux/ui/uiframework.h"
#include "tests/platform/linux/ui/framesupport.h"
#include "tests/platform/linux/v4l2/fakekernel.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InitFrameworkUi();
    auto kernel = std::make_shared<CFakeKernel>();
    AddUsbWebcam(*kernel, 0, "HD Webcam", "usb-0000:00:14.0-2");
    AddFocusAndZoom(kernel->Node(0));
    ComPtr<IBaseFilter> filter = BindFirstCamera(kernel);
    if (!filter)
        return 1;
    return OpenPropertyFrame(filter.Get(), L"HD Webcam") == S_OK ? 0 : 1;
}
