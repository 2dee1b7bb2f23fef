// The property frame opened through ISpecifyPropertyPages.
#include "tests/platform/linux/ui/framesupport.h"

#include "platform/linux/ui/handles.h"
#include "platform/linux/v4l2/enumerator.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

#include <algorithm>

ComPtr<IBaseFilter> BindFirstCamera(std::shared_ptr<ISystemCalls> calls) {
    ComPtr<ICreateDevEnum> devices;
    devices.Attach(new CSystemDeviceEnum(std::move(calls)));
    ComPtr<IEnumMoniker> monikers;
    ComPtr<IMoniker> moniker;
    ComPtr<IBaseFilter> filter;
    if (devices->CreateClassEnumerator(CLSID_VideoInputDeviceCategory,
                                       monikers.ReleaseAndGetAddressOf(), 0) == S_OK &&
        monikers->Next(1, moniker.ReleaseAndGetAddressOf(), nullptr) == S_OK)
        moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                              filter.ReleaseAndGetAddressOfVoid());
    return filter;
}

HRESULT OpenPropertyFrame(IUnknown* object, LPCOLESTR name, HWND owner) {
    ComPtr<ISpecifyPropertyPages> specify;
    HRESULT hr =
        object->QueryInterface(IID_ISpecifyPropertyPages, specify.ReleaseAndGetAddressOfVoid());
    if (hr != S_OK)
        return hr;
    CAUUID pages = {0, nullptr};
    hr = specify->GetPages(&pages);
    if (hr != S_OK)
        return hr;
    hr = OleCreatePropertyFrame(owner, 0, 0, name, 1, &object, pages.cElems, pages.pElems, 0, 0,
                                nullptr);
    CoTaskMemFree(pages.pElems);
    return hr;
}

QWidget* FrameControl(QWidget* window, int id) {
    for (QWidget* child : window->findChildren<QWidget*>())
        if (ControlId(child) == id)
            return child;
    return nullptr;
}

void PressKey(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = window->focusWidget();
    QTest::keyClick(focus != nullptr ? focus : window, key, modifiers);
}

bool PressAccessKey(QWidget* window, Qt::Key key) {
    // Access keys reach the active window only. A window owned by the
    // active one counts as active to Qt's own wait, so this waits for the
    // application's active window itself.
    window->activateWindow();
    if (!QTest::qWaitFor([window] { return QApplication::activeWindow() == window->window(); }))
        return false;
    PressKey(window, key, Qt::AltModifier);
    return QTest::qWaitFor([window] {
        const QList<QAbstractButton*> buttons = window->findChildren<QAbstractButton*>();
        return std::none_of(buttons.begin(), buttons.end(),
                            [](const QAbstractButton* b) { return b->isDown(); });
    });
}
