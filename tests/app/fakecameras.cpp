// The fake devices: enumerator, monikers, property bags and filters with
// both property interfaces.
#include "tests/app/fakecameras.h"

#include "platform/comobject.h"

#include <map>
#include <utility>

struct CFakeCameraRegistration::State {
    std::vector<FakeCamera> cameras;
    std::vector<std::string> log;
    int liveFilters = 0;
    std::function<void()> onFilterDestroyed;
    // (camera base, property) -> value and flags, where written.
    std::map<std::pair<LONG, LONG>, std::pair<LONG, LONG>> values;
};

namespace {

using State = CFakeCameraRegistration::State;

const CLSID kUnregisteredClass = {
    0x0DDBA11, 0x1234, 0x5678, {0x9A, 0xBC, 0xDE, 0xF0, 0x12, 0x34, 0x56, 0x78}};

const char* ComState() {
    return ComIsInitialized() ? "com=up" : "com=down";
}

// The two property interfaces share method names and shapes; these layers
// give each its own implementation in one object.
struct ProcAmpPart : IAMVideoProcAmp {
    HRESULT STDMETHODCALLTYPE GetRange(LONG p, LONG* mn, LONG* mx, LONG* st, LONG* df,
                                       LONG* fl) override {
        return Range(p, mn, mx, st, df, fl);
    }
    HRESULT STDMETHODCALLTYPE Set(LONG p, LONG v, LONG fl) override { return Write(p, v, fl); }
    HRESULT STDMETHODCALLTYPE Get(LONG p, LONG* v, LONG* fl) override { return Value(p, v, fl); }
    virtual HRESULT Range(LONG, LONG*, LONG*, LONG*, LONG*, LONG*) = 0;
    virtual HRESULT Value(LONG, LONG*, LONG*) = 0;
    virtual HRESULT Write(LONG, LONG, LONG) = 0;

protected:
    ~ProcAmpPart() = default;
};

struct CameraControlPart : IAMCameraControl {
    HRESULT STDMETHODCALLTYPE GetRange(LONG p, LONG* mn, LONG* mx, LONG* st, LONG* df,
                                       LONG* fl) override {
        return Range(p + 100, mn, mx, st, df, fl);
    }
    HRESULT STDMETHODCALLTYPE Set(LONG p, LONG v, LONG fl) override {
        return Write(p + 100, v, fl);
    }
    HRESULT STDMETHODCALLTYPE Get(LONG p, LONG* v, LONG* fl) override {
        return Value(p + 100, v, fl);
    }
    virtual HRESULT Range(LONG, LONG*, LONG*, LONG*, LONG*, LONG*) = 0;
    virtual HRESULT Value(LONG, LONG*, LONG*) = 0;
    virtual HRESULT Write(LONG, LONG, LONG) = 0;

protected:
    ~CameraControlPart() = default;
};

} // namespace

template <> struct InterfaceId<ProcAmpPart> {
    static const IID& Get() { return IID_IAMVideoProcAmp; }
};
template <> struct InterfaceId<CameraControlPart> {
    static const IID& Get() { return IID_IAMCameraControl; }
};

namespace {

class CFakeFilter final : public ComObject<IBaseFilter, ProcAmpPart, CameraControlPart> {
public:
    CFakeFilter(std::shared_ptr<State> state, int index)
        : m_state(std::move(state)), m_index(index) {
        ++m_state->liveFilters;
    }
    ~CFakeFilter() override {
        --m_state->liveFilters;
        m_state->log.push_back("filter " + std::to_string(m_index) + " destroyed " + ComState());
        if (m_state->onFilterDestroyed)
            m_state->onFilterDestroyed();
    }

    // Camera-control properties arrive offset by 100 (exposure is 104).
    HRESULT Range(LONG p, LONG* mn, LONG* mx, LONG* st, LONG* df, LONG* fl) override {
        const LONG v = Base() + p;
        *mn = -v;
        *mx = v * 10;
        *st = 1;
        *df = v;
        *fl = 3;
        return S_OK;
    }
    HRESULT Value(LONG p, LONG* v, LONG* fl) override {
        const auto changed = m_state->values.find({Base(), p});
        *v = changed != m_state->values.end() ? changed->second.first : Base() + p;
        *fl = changed != m_state->values.end() ? changed->second.second : 2;
        return S_OK;
    }
    // The restore sends automatic mode with the value the camera holds.
    HRESULT Write(LONG p, LONG v, LONG fl) override {
        m_state->log.push_back("set " + std::to_string(Base()) + " p" + std::to_string(p) + "=" +
                               std::to_string(v) + "/" + std::to_string(fl));
        m_state->values[{Base(), p}] = {v, fl};
        return S_OK;
    }

private:
    LONG Base() const { return m_state->cameras[m_index].base; }

    std::shared_ptr<State> m_state;
    int m_index;
};

class CFakePropertyBag final : public ComObject<IPropertyBag> {
public:
    explicit CFakePropertyBag(const FakeCamera& camera) : m_camera(camera) {}
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* var, IErrorLog*) override {
        if (name == nullptr || var == nullptr)
            return E_POINTER;
        if (std::wstring(name) != L"FriendlyName" || !m_camera.nameReadable)
            return E_FAIL;
        var->vt = VT_BSTR;
        var->bstrVal = SysAllocString(m_camera.name.c_str());
        return S_OK;
    }

private:
    FakeCamera m_camera;
};

class CFakeMoniker final : public ComObject<IMoniker> {
public:
    CFakeMoniker(std::shared_ptr<State> state, int index)
        : m_state(std::move(state)), m_index(index) {}
    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) override {
        auto* filter = new CFakeFilter(m_state, m_index);
        const HRESULT hr = filter->QueryInterface(riid, ppv);
        filter->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx*, IMoniker*, REFIID riid,
                                            void** ppv) override {
        auto* bag = new CFakePropertyBag(m_state->cameras[m_index]);
        const HRESULT hr = bag->QueryInterface(riid, ppv);
        bag->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) override {
        const FakeCamera& camera = m_state->cameras[m_index];
        const std::wstring id = !camera.id.empty()
                                    ? camera.id
                                    : L"fake:" + camera.name + L":" + std::to_wstring(camera.base);
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc((id.size() + 1) * sizeof(wchar_t)));
        id.copy(*name, id.size());
        (*name)[id.size()] = L'\0';
        return S_OK;
    }

private:
    std::shared_ptr<State> m_state;
    int m_index;
};

class CFakeEnumMoniker final : public ComObject<IEnumMoniker> {
public:
    explicit CFakeEnumMoniker(std::shared_ptr<State> state) : m_state(std::move(state)) {}
    HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* fetched) override {
        if (celt != 1 || rgelt == nullptr)
            return E_INVALIDARG;
        if (m_next >= static_cast<int>(m_state->cameras.size())) {
            if (fetched != nullptr)
                *fetched = 0;
            return S_FALSE;
        }
        *rgelt = new CFakeMoniker(m_state, m_next++);
        if (fetched != nullptr)
            *fetched = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_next = 0;
        return S_OK;
    }

private:
    std::shared_ptr<State> m_state;
    int m_next = 0;
};

class CFakeDevEnum final : public ComObject<ICreateDevEnum> {
public:
    explicit CFakeDevEnum(std::shared_ptr<State> state) : m_state(std::move(state)) {}
    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID, IEnumMoniker** ppEnum,
                                                    DWORD) override {
        m_state->log.push_back(std::string("enumerate ") + ComState());
        *ppEnum = nullptr;
        if (m_state->cameras.empty())
            return S_FALSE;
        *ppEnum = new CFakeEnumMoniker(m_state);
        return S_OK;
    }

private:
    std::shared_ptr<State> m_state;
};

class CFakeFactory final : public ComObject<IClassFactory> {
public:
    explicit CFakeFactory(std::shared_ptr<State> state) : m_state(std::move(state)) {}
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID riid, void** ppv) override {
        auto* devEnum = new CFakeDevEnum(m_state);
        const HRESULT hr = devEnum->QueryInterface(riid, ppv);
        devEnum->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    std::shared_ptr<State> m_state;
};

} // namespace

bool ComIsInitialized() {
    void* object = nullptr;
    return CoCreateInstance(kUnregisteredClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object) !=
           CO_E_NOTINITIALIZED;
}

CFakeCameraRegistration::CFakeCameraRegistration(std::vector<FakeCamera> cameras)
    : m_state(std::make_shared<State>()) {
    m_state->cameras = std::move(cameras);
    auto* factory = new CFakeFactory(m_state);
    CoRegisterClassObject(CLSID_SystemDeviceEnum, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                          &m_cookie);
    factory->Release();
}

CFakeCameraRegistration::~CFakeCameraRegistration() {
    CoRevokeClassObject(m_cookie);
}

const std::vector<std::string>& CFakeCameraRegistration::Log() const {
    return m_state->log;
}

int CFakeCameraRegistration::LiveFilters() const {
    return m_state->liveFilters;
}

void CFakeCameraRegistration::SetCameras(std::vector<FakeCamera> cameras) {
    m_state->cameras = std::move(cameras);
}

void CFakeCameraRegistration::OnFilterDestroyed(std::function<void()> callback) {
    m_state->onFilterDestroyed = std::move(callback);
}
