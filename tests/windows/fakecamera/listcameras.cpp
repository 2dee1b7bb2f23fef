// Lists the video input devices the way a program finds them, through the
// system device enumerator: position, friendly name, then GetRange and Get of
// every property of both interfaces. Each answer is checked against
// cameras.h, so a wrong registration, order or value makes it exit 1.
#include "tests/windows/fakecamera/cameras.h"

#include <windows.h>
#include <dshow.h>

#include <cstdio>
#include <string>

namespace {

using fakecamera::Camera;
using fakecamera::Failure;
using fakecamera::Property;

int g_mismatches = 0;

void Expect(bool ok, int position, const std::string& what) {
    if (ok)
        return;
    ++g_mismatches;
    std::printf("MISMATCH at device %d: %s\n", position, what.c_str());
}

template <class T> void ReleaseAll(T*& p) {
    if (p)
        p->Release();
    p = nullptr;
}

// Fails when the name cannot be read; otherwise the name in ASCII.
HRESULT ReadFriendlyName(IMoniker* moniker, std::string& name) {
    IPropertyBag* bag = nullptr;
    HRESULT hr =
        moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void**>(&bag));
    if (FAILED(hr))
        return hr;
    VARIANT var;
    VariantInit(&var);
    hr = bag->Read(L"FriendlyName", &var, nullptr);
    if (SUCCEEDED(hr) && var.vt == VT_BSTR)
        for (const wchar_t* c = var.bstrVal; c && *c; ++c)
            name += *c < 0x80 ? static_cast<char>(*c) : '?';
    else if (SUCCEEDED(hr))
        hr = DISP_E_TYPEMISMATCH;
    VariantClear(&var);
    bag->Release();
    return hr;
}

// Both interfaces share GetRange/Get; the ids past the table must be refused too.
template <class Interface>
void CheckProperties(Interface* control, const char* label, const Property* table, int count,
                     int position) {
    for (int id = 0; id <= count; ++id) {
        const Property& want = id < count ? table[id] : fakecamera::kUnsupported;
        LONG min = 0, max = 0, step = 0, def = 0, caps = 0, value = 0, flags = 0;
        const HRESULT range = control->GetRange(id, &min, &max, &step, &def, &caps);
        const HRESULT get = control->Get(id, &value, &flags);
        std::printf("  %s %d: GetRange %08lx", label, id, static_cast<unsigned long>(range));
        if (SUCCEEDED(range))
            std::printf(" min %ld max %ld step %ld default %ld caps %ld", min, max, step, def,
                        caps);
        std::printf("; Get %08lx", static_cast<unsigned long>(get));
        if (SUCCEEDED(get))
            std::printf(" value %ld flags %ld", value, flags);
        std::printf("\n");

        const bool rangeFails =
            want.failure == Failure::range || want.failure == Failure::unsupported;
        const bool getFails =
            want.failure == Failure::value || want.failure == Failure::unsupported;
        const std::string what = std::string(label) + " " + std::to_string(id);
        if (rangeFails)
            Expect(range == E_PROP_ID_UNSUPPORTED, position, what + " GetRange");
        else
            Expect(range == S_OK && min == want.min && max == want.max && step == want.step &&
                       def == want.def && caps == want.caps,
                   position, what + " GetRange");
        if (getFails)
            Expect(get == (want.failure == Failure::value ? E_FAIL : E_PROP_ID_UNSUPPORTED),
                   position, what + " Get");
        else
            Expect(get == S_OK && value == want.value && flags == want.flags, position,
                   what + " Get");
    }
}

void CheckDevice(IMoniker* moniker, int position) {
    const bool known = position < fakecamera::kCameraCount;
    const Camera* camera = known ? &fakecamera::kCameras[position] : nullptr;

    std::string name;
    const HRESULT nameHr = ReadFriendlyName(moniker, name);
    std::printf("%d %s\n", position, SUCCEEDED(nameHr) ? name.c_str() : "(unreadable)");
    if (!camera) {
        Expect(false, position, "a device beyond the fake cameras");
        return;
    }
    if (camera->nameReadable)
        Expect(nameHr == S_OK && name == camera->name, position, "friendly name");
    else
        Expect(FAILED(nameHr), position, "friendly name should be unreadable");

    IBaseFilter* filter = nullptr;
    HRESULT hr =
        moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&filter));
    Expect(hr == S_OK && filter, position, "BindToObject");
    if (!filter)
        return;

    IAMVideoProcAmp* procAmp = nullptr;
    hr = filter->QueryInterface(IID_IAMVideoProcAmp, reinterpret_cast<void**>(&procAmp));
    Expect(hr == S_OK && procAmp, position, "IAMVideoProcAmp");
    if (procAmp)
        CheckProperties(procAmp, "procamp", camera->procAmp, fakecamera::kProcAmpCount, position);

    IAMCameraControl* cameraControl = nullptr;
    hr = filter->QueryInterface(IID_IAMCameraControl, reinterpret_cast<void**>(&cameraControl));
    if (!camera->hasCameraControl) {
        std::printf("  no IAMCameraControl (%08lx)\n", static_cast<unsigned long>(hr));
        Expect(hr == E_NOINTERFACE && !cameraControl, position, "IAMCameraControl should fail");
    } else {
        Expect(hr == S_OK && cameraControl, position, "IAMCameraControl");
    }
    if (cameraControl) {
        // The separate object must still be the same COM object as the filter.
        IUnknown* a = nullptr;
        IUnknown* b = nullptr;
        filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&a));
        cameraControl->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&b));
        Expect(a && a == b, position, "IAMCameraControl identity");
        ReleaseAll(a);
        ReleaseAll(b);
        CheckProperties(cameraControl, "cameracontrol", camera->cameraControl,
                        fakecamera::kCameraControlCount, position);
    }
    ReleaseAll(cameraControl);
    ReleaseAll(procAmp);
    ReleaseAll(filter);
}

int ListDevices() {
    ICreateDevEnum* devEnum = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                                  reinterpret_cast<void**>(&devEnum));
    if (FAILED(hr)) {
        std::printf("no system device enumerator (%08lx)\n", static_cast<unsigned long>(hr));
        return -1;
    }
    IEnumMoniker* monikers = nullptr;
    hr = devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0);
    int count = 0;
    if (hr == S_OK && monikers) {
        IMoniker* moniker = nullptr;
        while (monikers->Next(1, &moniker, nullptr) == S_OK) {
            CheckDevice(moniker, count++);
            ReleaseAll(moniker);
        }
    }
    ReleaseAll(monikers);
    ReleaseAll(devEnum);
    return count;
}

} // namespace

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    const int count = ListDevices();
    CoUninitialize();
    if (count != fakecamera::kCameraCount) {
        ++g_mismatches;
        std::printf("MISMATCH: %d devices, cameras.h has %d\n", count, fakecamera::kCameraCount);
    }
    std::printf("%d devices, %d mismatches\n", count, g_mismatches);
    return g_mismatches == 0 ? 0 : 1;
}
