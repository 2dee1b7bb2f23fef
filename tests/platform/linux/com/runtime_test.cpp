// The Linux COM runtime: apartments, the class registry, BSTR and VARIANT,
// and the ComPtr holder's promise to release exactly once.
#include "platform/comptr.h"
#include "platform/directshow.h"
#include "platform/linux/com/classfactory.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

const CLSID kUnknownClass = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

// Counts how many of its kind are alive, so tests see deletion.
class CCountedThing final : public ComObject<IPropertyBag> {
public:
    static inline int alive = 0;
    CCountedThing() { ++alive; }
    ~CCountedThing() override { --alive; }
    HRESULT STDMETHODCALLTYPE Read(LPCOLESTR, VARIANT*, IErrorLog*) override { return S_OK; }
};

class ComRuntimeTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK); }
    void TearDown() override { CoUninitialize(); }
};

TEST_F(ComRuntimeTest, ApartmentsCountAndRefuseAnotherModel) {
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    CoUninitialize();

    void* object = reinterpret_cast<void*>(0x1);
    EXPECT_EQ(
        CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum, &object),
        CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
}

TEST_F(ComRuntimeTest, UnknownClassesAreNotRegistered) {
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(static_cast<uint32_t>(REGDB_E_CLASSNOTREG), 0x80040154u);
    EXPECT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr),
              E_POINTER);
}

TEST_F(ComRuntimeTest, TheSystemDeviceEnumeratorIsBuiltIn) {
    ComPtr<ICreateDevEnum> devEnum;
    ASSERT_EQ(CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_ALL, IID_ICreateDevEnum,
                               devEnum.ReleaseAndGetAddressOfVoid()),
              S_OK);
    ASSERT_TRUE(devEnum);
    ComPtr<IMoniker> wrong;
    EXPECT_EQ(devEnum.As(IID_IMoniker, wrong), E_NOINTERFACE);
    EXPECT_TRUE(wrong.IsEmpty());
}

TEST_F(ComRuntimeTest, RegisteredClassObjectsComeFirstUntilRevoked) {
    IClassFactory* factory = CClassFactory<CCountedThing>::Create();
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(kUnknownClass, factory, CLSCTX_INPROC_SERVER,
                                    REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    factory->Release(); // the registry keeps its own reference

    {
        ComPtr<IPropertyBag> bag;
        ASSERT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IID_IPropertyBag,
                                   bag.ReleaseAndGetAddressOfVoid()),
                  S_OK);
        EXPECT_EQ(CCountedThing::alive, 1);
        void* none = nullptr;
        EXPECT_EQ(CoCreateInstance(kUnknownClass, bag.Get(), CLSCTX_ALL, IID_IPropertyBag, &none),
                  CLASS_E_NOAGGREGATION);
        EXPECT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IID_IMoniker, &none),
                  E_NOINTERFACE);
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(CCountedThing::alive, 1) << "a refused interface leaves no object behind";
    }
    EXPECT_EQ(CCountedThing::alive, 0);

    EXPECT_EQ(CoRevokeClassObject(cookie), S_OK);
    EXPECT_EQ(CoRevokeClassObject(cookie), CO_E_OBJNOTREG);
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(kUnknownClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
}

TEST(ComPtrTest, ReleasesExactlyOnceAndEmptiesTheSlot) {
    CCountedThing* thing = new CCountedThing; // one reference, ours
    {
        ComPtr<IPropertyBag> a;
        a.Attach(thing);
        ComPtr<IPropertyBag> b = a; // a second reference
        EXPECT_EQ(thing->AddRef(), 3u);
        thing->Release();
        a.Release();
        EXPECT_TRUE(a.IsEmpty());
        a.Release(); // an empty slot releases nothing
        EXPECT_EQ(CCountedThing::alive, 1);
        ComPtr<IPropertyBag> c = std::move(b);
        EXPECT_TRUE(b.IsEmpty());
        *c.ReleaseAndGetAddressOf() = nullptr; // the old reference went first
        EXPECT_EQ(CCountedThing::alive, 0);
    }
}

TEST(AutomationTypesTest, BstrKeepsItsLengthAndVariantClearFreesIt) {
    BSTR s = SysAllocString(L"宋体 cam");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 6u);
    EXPECT_EQ(std::wcscmp(s, L"宋体 cam"), 0);
    SysFreeString(s);

    BSTR withNul = SysAllocStringLen(L"a\0b", 3);
    EXPECT_EQ(SysStringLen(withNul), 3u);
    EXPECT_EQ(withNul[2], L'b');
    EXPECT_EQ(withNul[3], L'\0');
    SysFreeString(withNul);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);
    EXPECT_EQ(SysStringLen(nullptr), 0u);

    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(v.vt, VT_EMPTY);
    v.vt = VT_BSTR;
    v.bstrVal = SysAllocString(L"x"); // the leak checker sees it if clearing does not free it
    EXPECT_EQ(VariantClear(&v), S_OK);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

} // namespace
