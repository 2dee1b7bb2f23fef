// Fake cameras for the capture tests: an enumerator, monikers, property bags,
// filters and the two property interfaces. The test owns every fake; Release
// never deletes, it only counts, so a test can check that each reference was
// dropped exactly once. The property interfaces are GoogleMock mocks.
#pragma once

#include "platform/directshow.h"
#include "platform/comobject.h"
#include "sdkstubs.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace fakes {

// Counts references and answers QueryInterface for the interfaces it lists.
template <class First, class... Rest>
class CCounted : public Stubbed<First>, public Stubbed<Rest>... {
public:
    virtual ~CCounted() {
        EXPECT_EQ(m_refs, 0u) << m_label << " still holds references when the test ends";
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr)
            return E_POINTER;
        *ppv = nullptr;
        *ppv = FindInterface<First, Rest...>(this, riid);
        if (*ppv == nullptr)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_refs; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (m_refs == 0) {
            ADD_FAILURE() << m_label << " released more often than referenced";
            return 0;
        }
        --m_refs;
        if (m_onRelease)
            m_onRelease();
        return m_refs;
    }

    ULONG Refs() const { return m_refs; }
    void SetLabel(std::string label) { m_label = std::move(label); }
    // Runs after every Release, e.g. to log the order of releases.
    void OnRelease(std::function<void()> f) { m_onRelease = std::move(f); }

private:
    ULONG m_refs = 0;
    std::string m_label = "fake";
    std::function<void()> m_onRelease;
};

// Set answers E_NOTIMPL unless a test says otherwise (see AcceptWrites):
// the save must never call it. The mocked methods keep COM's calling
// convention (__stdcall on 32-bit Windows), or they would not override.
class CMockProcAmp : public CCounted<IAMVideoProcAmp> {
public:
    CMockProcAmp() { ON_CALL(*this, Set).WillByDefault(::testing::Return(E_NOTIMPL)); }
    MOCK_METHOD(HRESULT, GetRange, (LONG, LONG*, LONG*, LONG*, LONG*, LONG*),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, Set, (LONG, LONG, LONG), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, Get, (LONG, LONG*, LONG*), (override, Calltype(STDMETHODCALLTYPE)));
};

class CMockCameraControl : public CCounted<IAMCameraControl> {
public:
    CMockCameraControl() { ON_CALL(*this, Set).WillByDefault(::testing::Return(E_NOTIMPL)); }
    MOCK_METHOD(HRESULT, GetRange, (LONG, LONG*, LONG*, LONG*, LONG*, LONG*),
                (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, Set, (LONG, LONG, LONG), (override, Calltype(STDMETHODCALLTYPE)));
    MOCK_METHOD(HRESULT, Get, (LONG, LONG*, LONG*), (override, Calltype(STDMETHODCALLTYPE)));
};

// One property's answers, for wiring a mock that just reports values.
struct Property {
    LONG min, max, step, def, capsFlags, value, flags;
};

// Makes every GetRange/Get of the mock answer from props (by property id);
// ids missing from props answer E_PROP_ID_UNSUPPORTED.
template <class Mock> void Answer(Mock& mock, std::function<const Property*(LONG)> props) {
    using ::testing::_;
    ON_CALL(mock, GetRange(_, _, _, _, _, _))
        .WillByDefault([props](LONG id, LONG* mn, LONG* mx, LONG* st, LONG* df, LONG* fl) {
            const Property* p = props(id);
            if (p == nullptr)
                return E_PROP_ID_UNSUPPORTED;
            *mn = p->min, *mx = p->max, *st = p->step, *df = p->def, *fl = p->capsFlags;
            return S_OK;
        });
    ON_CALL(mock, Get(_, _, _)).WillByDefault([props](LONG id, LONG* v, LONG* fl) {
        const Property* p = props(id);
        if (p == nullptr)
            return E_PROP_ID_UNSUPPORTED;
        *v = p->value, *fl = p->flags;
        return S_OK;
    });
}

// Makes Set of the mock append "P:V:F" (property, value, flags; "c" before P
// for the camera control) to log and take the call as a camera would:
// automatic leaves the value, manual sets it. refuse(id), when given, can
// answer a failure instead, or S_FALSE for a camera that answers S_OK but
// keeps its old value.
template <class Mock>
void AcceptWrites(Mock& mock, std::map<LONG, Property>& props, std::string* log,
                  std::function<HRESULT(LONG)> refuse = nullptr) {
    const bool cameraControl = std::is_base_of_v<IAMCameraControl, Mock>;
    ON_CALL(mock, Set).WillByDefault([=, &props](LONG id, LONG value, LONG flags) {
        *log += (log->empty() ? "" : " ") + std::string(cameraControl ? "c" : "") +
                std::to_string(id) + ":" + std::to_string(value) + ":" + std::to_string(flags);
        const HRESULT answer = !props.count(id) ? E_PROP_ID_UNSUPPORTED
                               : refuse         ? refuse(id)
                                                : S_OK;
        if (answer != S_OK)
            return answer == S_FALSE ? S_OK : answer;
        props[id].flags =
            (flags & VideoProcAmp_Flags_Auto) ? flags : LONG{VideoProcAmp_Flags_Manual};
        if (!(flags & VideoProcAmp_Flags_Auto))
            props[id].value = value;
        return S_OK;
    });
}

// A capture filter that hands out whichever property interfaces it was given.
class CFakeFilter : public CCounted<IBaseFilter> {
public:
    IAMVideoProcAmp* procAmp = nullptr;
    IAMCameraControl* cameraControl = nullptr;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (ppv != nullptr && IsEqualIID(riid, IID_IAMVideoProcAmp))
            return Hand(procAmp, ppv);
        if (ppv != nullptr && IsEqualIID(riid, IID_IAMCameraControl))
            return Hand(cameraControl, ppv);
        return CCounted<IBaseFilter>::QueryInterface(riid, ppv);
    }

private:
    template <class I> static HRESULT Hand(I* itf, void** ppv) {
        *ppv = itf;
        if (itf == nullptr)
            return E_NOINTERFACE;
        itf->AddRef();
        return S_OK;
    }
};

class CFakePropertyBag : public CCounted<IPropertyBag> {
public:
    bool hasName = true;
    std::wstring name;
    std::wstring devicePath; // answered for "DevicePath" unless empty
    std::wstring plainName;  // answered for "PlainName" unless empty
    std::wstring lastProperty;

    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog*) override {
        lastProperty = pszPropName;
        const bool isName = lastProperty == L"FriendlyName" && hasName;
        const bool isPath = lastProperty == L"DevicePath" && !devicePath.empty();
        const bool isPlain = lastProperty == L"PlainName" && !plainName.empty();
        if (!isName && !isPath && !isPlain)
            return E_INVALIDARG;
        EXPECT_EQ(pVar->vt, VT_BSTR) << "the caller asks for a string";
        pVar->vt = VT_BSTR;
        pVar->bstrVal = SysAllocString((isName ? name : isPath ? devicePath : plainName).c_str());
        return S_OK;
    }
};

// One device: its name (through its property bag) and its filter.
class CFakeMoniker : public CCounted<IMoniker> {
public:
    CFakePropertyBag bag;
    CFakeFilter* filter = nullptr;
    HRESULT bindResult = S_OK;
    HRESULT storageResult = S_OK;
    std::wstring displayName;
    HRESULT displayNameResult = S_OK;
    int binds = 0;

    HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* pbc, IMoniker* left, REFIID riid,
                                           void** ppv) override {
        ++binds;
        EXPECT_EQ(pbc, nullptr);
        EXPECT_EQ(left, nullptr);
        EXPECT_TRUE(IsEqualIID(riid, IID_IBaseFilter));
        *ppv = nullptr;
        if (bindResult != S_OK)
            return bindResult;
        if (filter != nullptr) {
            filter->AddRef();
            *ppv = static_cast<IBaseFilter*>(filter);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* pbc, IMoniker* left, REFIID riid,
                                            void** ppv) override {
        EXPECT_EQ(pbc, nullptr);
        EXPECT_EQ(left, nullptr);
        EXPECT_TRUE(IsEqualIID(riid, IID_IPropertyBag));
        *ppv = nullptr;
        if (storageResult != S_OK)
            return storageResult;
        bag.AddRef();
        *ppv = static_cast<IPropertyBag*>(&bag);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) override {
        *name = nullptr;
        if (displayNameResult != S_OK)
            return displayNameResult;
        *name = static_cast<LPOLESTR>(CoTaskMemAlloc((displayName.size() + 1) * sizeof(wchar_t)));
        displayName.copy(*name, displayName.size());
        (*name)[displayName.size()] = L'\0';
        return S_OK;
    }
};

class CFakeEnumMoniker : public CCounted<IEnumMoniker> {
public:
    std::vector<IMoniker*> monikers;
    size_t next = 0;
    HRESULT resetResult = S_OK;
    // Answer of Next once the list is exhausted (S_FALSE normally).
    HRESULT endResult = S_FALSE;

    HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* fetched) override {
        EXPECT_EQ(celt, 1u);
        if (next >= monikers.size()) {
            if (fetched != nullptr)
                *fetched = 0;
            return endResult;
        }
        rgelt[0] = monikers[next++];
        rgelt[0]->AddRef();
        if (fetched != nullptr)
            *fetched = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next = 0;
        return resetResult;
    }
};

// The system device enumerator: each CreateClassEnumerator gets a fresh
// moniker enumerator over the current device list.
class CFakeDevEnum : public CCounted<ICreateDevEnum> {
public:
    std::vector<IMoniker*> devices;
    HRESULT createResult = S_OK;
    HRESULT resetResult = S_OK;
    HRESULT endResult = S_FALSE;
    std::vector<std::unique_ptr<CFakeEnumMoniker>> handedOut;

    HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** ppEnum,
                                                    DWORD flags) override {
        EXPECT_TRUE(IsEqualCLSID(category, CLSID_VideoInputDeviceCategory));
        EXPECT_EQ(flags, 0u);
        *ppEnum = nullptr;
        if (FAILED(createResult))
            return createResult;
        if (devices.empty())
            return S_FALSE;
        auto e = std::make_unique<CFakeEnumMoniker>();
        e->SetLabel("moniker enumerator");
        e->monikers = devices;
        e->resetResult = resetResult;
        e->endResult = endResult;
        e->AddRef();
        *ppEnum = e.get();
        handedOut.push_back(std::move(e));
        return S_OK;
    }
};

// The class object registered for CLSID_SystemDeviceEnum.
class CFakeDevEnumFactory : public CCounted<IClassFactory> {
public:
    CFakeDevEnum* devEnum = nullptr;
    HRESULT createResult = S_OK;

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        *ppv = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        if (FAILED(createResult) || devEnum == nullptr)
            return FAILED(createResult) ? createResult : S_OK;
        return devEnum->QueryInterface(riid, ppv);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

} // namespace fakes
