// A fake video capture device as an in-process COM server. Every camera of
// cameras.h is a class of its own, registered in the video input category so
// the system device enumerator lists it; its filter answers IAMVideoProcAmp
// and, on a separate object reached by QueryInterface, IAMCameraControl, both
// from the table. The filter has no pins. Set changes what the camera answers
// for the rest of the process, and each call is appended as a line to the
// file named by VK37_FAKECAMERA_SETLOG, so a test driver in another process
// can see exactly which writes a program made. The first camera's filter
// also names a property page, which logs the filter the frame gave it.
#include "tests/windows/fakecamera/cameras.h"

#include <windows.h>
#include <dshow.h>
#include <ocidl.h>

#include <cstring>
#include <new>
#include <string>

namespace {

using fakecamera::Camera;
using fakecamera::Failure;
using fakecamera::Property;

HMODULE g_module;
LONG g_locks; // live objects plus LockServer holds, for DllCanUnloadNow

std::wstring Widen(const char* text) {
    return std::wstring(text, text + strlen(text)); // the table is ASCII
}

CLSID ClassOf(const Camera& camera) {
    CLSID clsid = GUID_NULL;
    CLSIDFromString(Widen(camera.clsid).c_str(), &clsid);
    return clsid;
}

// What each camera answers in this process: the table's values until Set
// changes them.
struct CameraState {
    Property procAmp[fakecamera::kProcAmpCount];
    Property cameraControl[fakecamera::kCameraControlCount];
};

CameraState& StateOf(const Camera& camera) {
    static CameraState states[fakecamera::kCameraCount];
    static bool filled = false;
    for (int i = 0; !filled && i < fakecamera::kCameraCount; ++i) {
        std::memcpy(states[i].procAmp, fakecamera::kCameras[i].procAmp, sizeof states[i].procAmp);
        std::memcpy(states[i].cameraControl, fakecamera::kCameras[i].cameraControl,
                    sizeof states[i].cameraControl);
    }
    filled = true;
    return states[&camera - fakecamera::kCameras];
}

// "NAME\tINTERFACE\tPROPERTY\tVALUE\tFLAGS" appended to the Set log, if one is named.
void LogSet(const Camera& camera, const char* interfaceName, long property, long value,
            long flags) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"VK37_FAKECAMERA_SETLOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    const HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string line = std::string(camera.name) + "\t" + interfaceName + "\t" +
                             std::to_string(property) + "\t" + std::to_string(value) + "\t" +
                             std::to_string(flags) + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    CloseHandle(file);
}

// A camera's answer to Set: a property that fails to read refuses the write
// the same way; Auto needs an automatic mode; Manual a value in the range,
// on its step.
HRESULT AnswerSet(const Camera& camera, Property* table, int count, const char* interfaceName,
                  long property, long value, long flags) {
    LogSet(camera, interfaceName, property, value, flags);
    if (property < 0 || property >= count)
        return E_PROP_ID_UNSUPPORTED;
    Property& p = table[property];
    if (p.failure != Failure::none)
        return p.failure == Failure::value ? E_FAIL : E_PROP_ID_UNSUPPORTED;
    if (flags == fakecamera::kAuto && (p.caps & fakecamera::kAuto)) {
        p.flags = fakecamera::kAuto;
        return S_OK;
    }
    if (flags != fakecamera::kManual || value < p.min || value > p.max ||
        (p.step > 0 && (value - p.min) % p.step != 0))
        return E_INVALIDARG;
    p.value = value;
    p.flags = fakecamera::kManual;
    return S_OK;
}

// The answers of GetRange and Get, shared by both property interfaces.
HRESULT AnswerRange(const Property* table, int count, long property, long* min, long* max,
                    long* step, long* def, long* caps) {
    if (!min || !max || !step || !def || !caps)
        return E_POINTER;
    if (property < 0 || property >= count)
        return E_PROP_ID_UNSUPPORTED;
    const Property& p = table[property];
    if (p.failure == Failure::range || p.failure == Failure::unsupported)
        return E_PROP_ID_UNSUPPORTED;
    *min = p.min;
    *max = p.max;
    *step = p.step;
    *def = p.def;
    *caps = p.caps;
    return S_OK;
}

HRESULT AnswerValue(const Property* table, int count, long property, long* value, long* flags) {
    if (!value || !flags)
        return E_POINTER;
    if (property < 0 || property >= count)
        return E_PROP_ID_UNSUPPORTED;
    const Property& p = table[property];
    if (p.failure == Failure::unsupported)
        return E_PROP_ID_UNSUPPORTED;
    if (p.failure == Failure::value)
        return E_FAIL;
    *value = p.value;
    *flags = p.flags;
    return S_OK;
}

const CLSID kPageClass = {
    0x5B6F3A1F, 0x7D2C, 0x4E8B, {0x9A, 0x41, 0x3C, 0x0D, 0x2E, 0x7F, 0x5A, 0x0F}};

// A page of one line of text that only logs the object it was given.
class CPropertyPage final : public IPropertyPage {
public:
    CPropertyPage() { InterlockedIncrement(&g_locks); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        *ppv = riid == IID_IUnknown || riid == IID_IPropertyPage ? this : nullptr;
        return *ppv ? (AddRef(), S_OK) : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0) {
            InterlockedDecrement(&g_locks);
            delete this;
        }
        return refs;
    }
    HRESULT STDMETHODCALLTYPE SetPageSite(IPropertyPageSite*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Activate(HWND parent, LPCRECT r, BOOL) override {
        m_window = CreateWindowExW(0, L"STATIC", L"VK37 fake page", WS_CHILD, r->left, r->top,
                                   r->right - r->left, r->bottom - r->top, parent, 0, 0, 0);
        return m_window ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE Deactivate() override { return DestroyWindow(m_window), S_OK; }
    HRESULT STDMETHODCALLTYPE GetPageInfo(PROPPAGEINFO* info) override {
        const auto title = static_cast<LPOLESTR>(CoTaskMemAlloc(sizeof L"Fake"));
        CopyMemory(title, L"Fake", sizeof L"Fake");
        *info = {sizeof *info, title, {200, 80}, nullptr, nullptr, 0};
        return S_OK;
    }
    // Logs "NAME\tpage\tCOUNT\t0\t0" for the camera whose filter it got; a
    // call without objects lets them go.
    HRESULT STDMETHODCALLTYPE SetObjects(ULONG count, IUnknown** objects) override {
        FILTER_INFO info = {};
        IBaseFilter* filter = nullptr;
        if (count == 0 ||
            FAILED(objects[0]->QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter))))
            return S_OK;
        filter->QueryFilterInfo(&info);
        filter->Release();
        for (const Camera& camera : fakecamera::kCameras)
            if (Widen(camera.name) == info.achName)
                LogSet(camera, "page", static_cast<long>(count), 0, 0);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Show(UINT show) override { return ShowWindow(m_window, show), S_OK; }
    HRESULT STDMETHODCALLTYPE Move(LPCRECT) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsPageDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Apply() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(MSG*) override { return S_FALSE; }

private:
    LONG m_refs = 1;
    HWND m_window = nullptr;
};

class CFilter final : public IBaseFilter,
                      public IAMVideoProcAmp,
                      public IPersistPropertyBag,
                      public ISpecifyPropertyPages {
public:
    explicit CFilter(const Camera& camera) : m_camera(camera), m_control(*this) {
        InterlockedIncrement(&g_locks);
    }
    CFilter(const CFilter&) = delete;
    CFilter& operator=(const CFilter&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter ||
            riid == IID_IBaseFilter)
            *ppv = static_cast<IBaseFilter*>(this);
        else if (riid == IID_IAMVideoProcAmp)
            *ppv = static_cast<IAMVideoProcAmp*>(this);
        else if (riid == IID_IPersistPropertyBag)
            *ppv = static_cast<IPersistPropertyBag*>(this);
        else if (riid == IID_IAMCameraControl && m_camera.hasCameraControl)
            *ppv = static_cast<IAMCameraControl*>(&m_control);
        else if (riid == IID_ISpecifyPropertyPages && &m_camera == fakecamera::kCameras)
            *ppv = static_cast<ISpecifyPropertyPages*>(this);
        else {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }

    // IPersist, for both IBaseFilter and IPersistPropertyBag
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override {
        if (!clsid)
            return E_POINTER;
        *clsid = ClassOf(m_camera);
        return S_OK;
    }

    // IMediaFilter: states are only recorded; there is no stream to start.
    HRESULT STDMETHODCALLTYPE Stop() override { return SetState(State_Stopped); }
    HRESULT STDMETHODCALLTYPE Pause() override { return SetState(State_Paused); }
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return SetState(State_Running); }
    HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE* state) override {
        if (!state)
            return E_POINTER;
        *state = static_cast<FILTER_STATE>(InterlockedCompareExchange(&m_state, 0, 0));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override {
        if (!clock)
            return E_POINTER;
        *clock = nullptr;
        return S_OK;
    }

    // IBaseFilter
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin** pin) override {
        if (!pin)
            return E_POINTER;
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override {
        if (!info)
            return E_POINTER;
        const std::wstring name = Widen(m_camera.name);
        lstrcpynW(info->achName, name.c_str(), MAX_FILTER_NAME);
        info->pGraph = nullptr; // never joins a graph, see JoinFilterGraph
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph*, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // IAMVideoProcAmp
    HRESULT STDMETHODCALLTYPE GetRange(long property, long* min, long* max, long* step, long* def,
                                       long* caps) override {
        return AnswerRange(StateOf(m_camera).procAmp, fakecamera::kProcAmpCount, property, min, max,
                           step, def, caps);
    }
    HRESULT STDMETHODCALLTYPE Set(long property, long value, long flags) override {
        return AnswerSet(m_camera, StateOf(m_camera).procAmp, fakecamera::kProcAmpCount, "procamp",
                         property, value, flags);
    }
    HRESULT STDMETHODCALLTYPE Get(long property, long* value, long* flags) override {
        return AnswerValue(StateOf(m_camera).procAmp, fakecamera::kProcAmpCount, property, value,
                           flags);
    }

    // IPersistPropertyBag: the moniker hands over its bag on binding; the
    // table already holds everything the filter needs.
    HRESULT STDMETHODCALLTYPE InitNew() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog*) override {
        return bag ? S_OK : E_POINTER;
    }
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag*, BOOL, BOOL) override { return E_NOTIMPL; }

    // ISpecifyPropertyPages
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override {
        pages->cElems = 1;
        pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID)));
        *pages->pElems = kPageClass;
        return S_OK;
    }

private:
    // IAMCameraControl has the same method names as IAMVideoProcAmp, so it
    // lives on an object of its own that shares the filter's identity and count.
    class CCameraControl final : public IAMCameraControl {
    public:
        explicit CCameraControl(CFilter& filter) : m_filter(filter) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
            return m_filter.QueryInterface(riid, ppv);
        }
        ULONG STDMETHODCALLTYPE AddRef() override { return m_filter.AddRef(); }
        ULONG STDMETHODCALLTYPE Release() override { return m_filter.Release(); }
        HRESULT STDMETHODCALLTYPE GetRange(long property, long* min, long* max, long* step,
                                           long* def, long* caps) override {
            return AnswerRange(StateOf(m_filter.m_camera).cameraControl,
                               fakecamera::kCameraControlCount, property, min, max, step, def,
                               caps);
        }
        HRESULT STDMETHODCALLTYPE Set(long property, long value, long flags) override {
            return AnswerSet(m_filter.m_camera, StateOf(m_filter.m_camera).cameraControl,
                             fakecamera::kCameraControlCount, "cameracontrol", property, value,
                             flags);
        }
        HRESULT STDMETHODCALLTYPE Get(long property, long* value, long* flags) override {
            return AnswerValue(StateOf(m_filter.m_camera).cameraControl,
                               fakecamera::kCameraControlCount, property, value, flags);
        }

    private:
        CFilter& m_filter;
    };

    ~CFilter() { InterlockedDecrement(&g_locks); }

    HRESULT SetState(FILTER_STATE state) {
        InterlockedExchange(&m_state, state);
        return S_OK;
    }

    LONG m_refs = 1;
    LONG m_state = State_Stopped;
    const Camera& m_camera;
    CCameraControl m_control;
};

class CFactory final : public IClassFactory {
public:
    // Without a camera: the page's.
    explicit CFactory(const Camera* camera) : m_camera(camera) { InterlockedIncrement(&g_locks); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) {
            *ppv = nullptr;
            return E_NOINTERFACE;
        }
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&m_refs); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return refs;
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        IUnknown* object = m_camera ? static_cast<IBaseFilter*>(new CFilter(*m_camera))
                                    : static_cast<IUnknown*>(new CPropertyPage());
        const HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }

private:
    ~CFactory() { InterlockedDecrement(&g_locks); }

    LONG m_refs = 1;
    const Camera* m_camera;
};

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// HKCR\CLSID\{clsid}: the name, and the DLL with the threading model COM
// needs to load it in any apartment.
HRESULT WriteClassKeys(const std::wstring& clsid, const std::wstring& name,
                       const std::wstring& dllPath) {
    HKEY classKey = nullptr;
    LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid).c_str(), 0, nullptr, 0,
                                     KEY_WRITE, nullptr, &classKey, nullptr);
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    HKEY serverKey = nullptr;
    status = SetString(classKey, nullptr, name);
    if (status == ERROR_SUCCESS)
        status = RegCreateKeyExW(classKey, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr,
                                 &serverKey, nullptr);
    if (status == ERROR_SUCCESS) {
        status = SetString(serverKey, nullptr, dllPath);
        if (status == ERROR_SUCCESS)
            status = SetString(serverKey, L"ThreadingModel", L"Both");
        RegCloseKey(serverKey);
    }
    RegCloseKey(classKey);
    return HRESULT_FROM_WIN32(status);
}

// The key the device enumerator lists, named after the class (no instance name).
std::wstring InstanceKey(const std::wstring& clsid) {
    return L"CLSID\\" + GuidText(CLSID_VideoInputDeviceCategory) + L"\\Instance\\" + clsid;
}

HRESULT RemoveFriendlyName(const std::wstring& clsid) {
    HKEY key = nullptr;
    LSTATUS status =
        RegOpenKeyExW(HKEY_CLASSES_ROOT, InstanceKey(clsid).c_str(), 0, KEY_SET_VALUE, &key);
    if (status == ERROR_SUCCESS) {
        status = RegDeleteValueW(key, L"FriendlyName");
        RegCloseKey(key);
    }
    return HRESULT_FROM_WIN32(status);
}

HRESULT RegisterCamera(IFilterMapper2* mapper, const Camera& camera, const std::wstring& dllPath) {
    const CLSID clsid = ClassOf(camera);
    const std::wstring clsidText = GuidText(clsid);
    const std::wstring name = Widen(camera.name);
    HRESULT hr = WriteClassKeys(clsidText, name, dllPath);
    if (FAILED(hr))
        return hr;
    REGFILTER2 filter = {};
    filter.dwVersion = 1;
    filter.dwMerit = MERIT_DO_NOT_USE; // never picked to render a stream
    filter.cPins = 0;
    filter.rgPins = nullptr;
    hr = mapper->RegisterFilter(clsid, name.c_str(), nullptr, &CLSID_VideoInputDeviceCategory,
                                nullptr, &filter);
    if (SUCCEEDED(hr) && !camera.nameReadable)
        hr = RemoveFriendlyName(clsidText);
    return hr;
}

// Runs with COM initialised for the calling thread, whatever the host did.
template <class Action> HRESULT WithFilterMapper(Action action) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IFilterMapper2* mapper = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IFilterMapper2, reinterpret_cast<void**>(&mapper));
    if (SUCCEEDED(hr)) {
        hr = action(mapper);
        mapper->Release();
    }
    if (SUCCEEDED(init))
        CoUninitialize();
    return hr;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, LPVOID* ppv) {
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    const Camera* camera = nullptr;
    for (const Camera& candidate : fakecamera::kCameras)
        if (ClassOf(candidate) == clsid)
            camera = &candidate;
    if (!camera && clsid != kPageClass)
        return CLASS_E_CLASSNOTAVAILABLE;
    CFactory* factory = new (std::nothrow) CFactory(camera);
    if (!factory)
        return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() {
    return InterlockedCompareExchange(&g_locks, 0, 0) == 0 ? S_OK : S_FALSE;
}

STDAPI DllRegisterServer() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(g_module, path, MAX_PATH);
    if (length == 0 || length == MAX_PATH)
        return SELFREG_E_CLASS;
    return WithFilterMapper([&](IFilterMapper2* mapper) {
        for (const Camera& camera : fakecamera::kCameras) {
            const HRESULT hr = RegisterCamera(mapper, camera, path);
            if (FAILED(hr))
                return hr;
        }
        return WriteClassKeys(GuidText(kPageClass), L"VK37 fake property page", path);
    });
}

// Removes every camera even when one fails, and reports the first failure.
STDAPI DllUnregisterServer() {
    return WithFilterMapper([](IFilterMapper2* mapper) {
        HRESULT result = S_OK;
        for (const Camera& camera : fakecamera::kCameras) {
            const CLSID clsid = ClassOf(camera);
            HRESULT hr = mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, nullptr, clsid);
            const LSTATUS status =
                RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(clsid)).c_str());
            if (SUCCEEDED(hr) && status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
                hr = HRESULT_FROM_WIN32(status);
            if (SUCCEEDED(result) && FAILED(hr))
                result = hr;
        }
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + GuidText(kPageClass)).c_str());
        return result;
    });
}
