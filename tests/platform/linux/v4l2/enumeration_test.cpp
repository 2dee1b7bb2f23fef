// Which nodes the video input category lists, in what order, by what name
// (and how namesakes are told apart), and how the moniker enumerator and
// property bag answer.
#include "platform/linux/v4l2/enumerator.h"
#include "tests/platform/linux/v4l2/devicetest.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace {

CFakeNode CaptureNode(const std::string& card) {
    CFakeNode node;
    node.card = card;
    node.capabilities = CaptureNodeCaps() | V4L2_CAP_DEVICE_CAPS;
    node.deviceCaps = CaptureNodeCaps();
    node.sysfsName = card + "\n";
    return node;
}

class EnumerationTest : public ::testing::Test {
protected:
    void TearDown() override {
        EXPECT_TRUE(m_kernel->UnknownRequests().empty());
        EXPECT_TRUE(m_kernel->Writes().empty());
        EXPECT_EQ(m_kernel->OpenDescriptors(), 0);
    }

    std::shared_ptr<CFakeKernel> m_kernel = std::make_shared<CFakeKernel>();
};

TEST_F(EnumerationTest, UsbWebcamIsListedOnceWithoutItsMetadataNode) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    m_kernel->AddDevEntry("null");
    m_kernel->AddDevEntry("vbi0");
    HRESULT hr = E_FAIL;
    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel, &hr);
    EXPECT_EQ(hr, S_OK);
    ASSERT_EQ(monikers.size(), 1u);
    EXPECT_EQ(FriendlyName(monikers[0].Get()), L"HD Webcam");
}

TEST_F(EnumerationTest, NoCameraGivesSFalseAndNoEnumerator) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    m_kernel->Unplug(0); // leaves only the metadata node
    CSystemDeviceEnum* devEnum = new CSystemDeviceEnum(m_kernel);
    IEnumMoniker* monikers = reinterpret_cast<IEnumMoniker*>(0x1);
    EXPECT_EQ(devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, &monikers, 0),
              S_FALSE);
    EXPECT_EQ(monikers, nullptr);
    EXPECT_EQ(devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory, nullptr, 0),
              E_POINTER);
    devEnum->Release();
}

TEST_F(EnumerationTest, OtherCategoriesAreEmpty) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    CSystemDeviceEnum* devEnum = new CSystemDeviceEnum(m_kernel);
    IEnumMoniker* monikers = nullptr;
    EXPECT_EQ(devEnum->CreateClassEnumerator(IID_IBaseFilter, &monikers, 0), S_FALSE);
    EXPECT_EQ(monikers, nullptr);
    EXPECT_EQ(m_kernel->Opens(), 0);
    devEnum->Release();
}

TEST_F(EnumerationTest, DevListingFailureIsReported) {
    m_kernel->FailDevListing(EACCES);
    HRESULT hr = S_OK;
    EXPECT_TRUE(Enumerate(m_kernel, &hr).empty());
    EXPECT_EQ(hr, E_ACCESSDENIED);
}

TEST_F(EnumerationTest, OrderIsByNodeNumber) {
    m_kernel->AddNode(10, CaptureNode("ten"));
    m_kernel->AddNode(2, CaptureNode("two"));
    m_kernel->AddNode(1, CaptureNode("one"));
    for (int round = 0; round < 2; ++round) {
        std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
        ASSERT_EQ(monikers.size(), 3u);
        EXPECT_EQ(FriendlyName(monikers[0].Get()), L"one");
        EXPECT_EQ(FriendlyName(monikers[1].Get()), L"two");
        EXPECT_EQ(FriendlyName(monikers[2].Get()), L"ten");
    }
}

TEST_F(EnumerationTest, IdenticalCamerasKeepDistinctPositions) {
    AddUsbWebcam(*m_kernel, 0, "USB Camera", "usb-1");
    AddUsbWebcam(*m_kernel, 2, "USB Camera", "usb-2");
    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
    ASSERT_EQ(monikers.size(), 2u);
    EXPECT_EQ(FriendlyName(monikers[0].Get()), L"USB Camera (usb-1)");
    EXPECT_EQ(FriendlyName(monikers[1].Get()), L"USB Camera (usb-2)");
    // The name as the driver reports it stays readable beside the listed one.
    EXPECT_EQ(FriendlyName(monikers[1].Get(), L"PlainName"), L"USB Camera");

    // Each position binds its own node: unplugging the first camera must
    // not make the second position fail, nor the first succeed.
    m_kernel->Unplug(0);
    m_kernel->Unplug(1);
    HRESULT first = S_OK, second = E_FAIL;
    Bind(monikers[0].Get(), &first);
    ComPtr<IBaseFilter> filter = Bind(monikers[1].Get(), &second);
    EXPECT_EQ(first, HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED));
    EXPECT_EQ(second, S_OK);
    EXPECT_TRUE(filter);
}

struct NamesakeNode {
    int number;
    const char* card; // also the sysfs name
    const char* busInfo;
    bool locked = false; // cannot be opened, so its bus info is unknown
};

struct NamesakeCase {
    const char* label;
    std::vector<NamesakeNode> nodes;
    std::vector<std::wstring> names; // in node order
};

void PrintTo(const NamesakeCase& c, std::ostream* os) {
    *os << c.label;
}

class NamesakeTest : public EnumerationTest, public ::testing::WithParamInterface<NamesakeCase> {};

TEST_P(NamesakeTest, EachNameTellsItsCameraApart) {
    for (const NamesakeNode& n : GetParam().nodes) {
        CFakeNode node = CaptureNode(n.card);
        node.busInfo = n.busInfo;
        if (n.locked)
            node.openErrno = EACCES;
        m_kernel->AddNode(n.number, node);
    }
    // Names are worked out afresh each time, so a second enumeration must
    // not suffix the suffixed names again.
    for (int round = 0; round < 2; ++round) {
        std::vector<std::wstring> names;
        for (const ComPtr<IMoniker>& moniker : Enumerate(m_kernel))
            names.push_back(FriendlyName(moniker.Get()));
        EXPECT_EQ(names, GetParam().names) << "enumeration " << round + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, NamesakeTest,
    ::testing::Values(
        // Neither a shared bus nor a name that differs only in case makes a
        // namesake.
        NamesakeCase{"UniqueNamesStayAsTheyAre",
                     {{0, "HD Webcam", "usb-1"}, {1, "hd webcam", "usb-1"}, {4, "Other", ""}},
                     {L"HD Webcam", L"hd webcam", L"Other"}},
        NamesakeCase{
            "TwoNamesakesShowTheirBusInfo",
            {{0, "HD Webcam", "usb-0000:00:14.0-2"}, {2, "HD Webcam", "usb-0000:00:14.0-1"}},
            {L"HD Webcam (usb-0000:00:14.0-2)", L"HD Webcam (usb-0000:00:14.0-1)"}},
        // Trailing blanks do not show, so they do not tell names apart.
        NamesakeCase{"NamesAlikeOnceTrimmedAreNamesakes",
                     {{0, "Cam", "usb-1"}, {1, "Cam  ", "usb-2"}},
                     {L"Cam (usb-1)", L"Cam (usb-2)"}},
        NamesakeCase{"SharedBusInfoFallsBackToThePath",
                     {{0, "vivid", "platform:vivid-000"}, {3, "vivid", "platform:vivid-000"}},
                     {L"vivid (/dev/video0)", L"vivid (/dev/video3)"}},
        NamesakeCase{"EmptyBusInfoFallsBackToThePath",
                     {{0, "Cam", ""}, {5, "Cam", "usb-2"}},
                     {L"Cam (/dev/video0)", L"Cam (usb-2)"}},
        NamesakeCase{"UndecodableBusInfoFallsBackToThePath",
                     {{0, "Cam", "usb-\xFF"}, {1, "Cam", "usb-2"}},
                     {L"Cam (/dev/video0)", L"Cam (usb-2)"}},
        NamesakeCase{
            "OnlyTheTwoNamesakesOfThreeAreSuffixed",
            {{0, "USB Camera", "usb-1"}, {2, "Integrated", "usb-2"}, {4, "USB Camera", "usb-3"}},
            {L"USB Camera (usb-1)", L"Integrated", L"USB Camera (usb-3)"}},
        // Bus info that tells one namesake apart is kept even when two
        // others need their paths.
        NamesakeCase{
            "ThreeNamesakesTwoOnOneBus",
            {{0, "vivid", "platform:vivid-000"},
             {1, "vivid", "platform:vivid-001"},
             {2, "vivid", "platform:vivid-000"}},
            {L"vivid (/dev/video0)", L"vivid (platform:vivid-001)", L"vivid (/dev/video2)"}},
        NamesakeCase{"LockedNamesakesShowTheirPaths",
                     {{0, "HD Webcam", "usb-1", true}, {2, "HD Webcam", "usb-2", true}},
                     {L"HD Webcam (/dev/video0)", L"HD Webcam (/dev/video2)"}}),
    [](const ::testing::TestParamInfo<NamesakeCase>& info) { return info.param.label; });

TEST_F(EnumerationTest, NodeWithoutPermissionIsListedBySysfsNameAndFailsToBind) {
    CFakeNode& capture = m_kernel->AddNode(0, CaptureNode("card not readable"));
    capture.sysfsName = "Locked Camera: sysfs\n";
    capture.openErrno = EACCES;
    // The same camera's metadata node is locked too and must not show twice.
    CFakeNode metadata = CaptureNode("meta");
    metadata.deviceCaps = MetadataNodeCaps();
    metadata.openErrno = EACCES;
    metadata.sysfsIndex = "1\n";
    m_kernel->AddNode(1, metadata);

    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
    ASSERT_EQ(monikers.size(), 1u);
    EXPECT_EQ(FriendlyName(monikers[0].Get()), L"Locked Camera: sysfs");
    HRESULT hr = S_OK;
    EXPECT_FALSE(Bind(monikers[0].Get(), &hr));
    EXPECT_EQ(hr, E_ACCESSDENIED);
}

TEST_F(EnumerationTest, LockedNodeUnknownToSysfsIsListedByItsPath) {
    CFakeNode& node = m_kernel->AddNode(0, CaptureNode("x"));
    node.openErrno = EPERM;
    node.sysfsName.clear();
    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
    ASSERT_EQ(monikers.size(), 1u);
    EXPECT_EQ(FriendlyName(monikers[0].Get()), L"/dev/video0");
}

TEST_F(EnumerationTest, NodesFailingOtherwiseAreLeftOut) {
    m_kernel->AddNode(0, CaptureNode("busy")).openErrno = EBUSY;
    m_kernel->AddNode(1, CaptureNode("no caps")).ioctlErrno[VIDIOC_QUERYCAP] = ENOTTY;
    m_kernel->AddNode(2, CaptureNode("fine"));
    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
    ASSERT_EQ(monikers.size(), 1u);
    EXPECT_EQ(FriendlyName(monikers[0].Get()), L"fine");
}

TEST_F(EnumerationTest, UnterminatedCardIsReadToItsEndOnly) {
    CFakeNode node = CaptureNode("0123456789abcdefghijklmnopqrstuvwxyz"); // 36 bytes
    node.busInfo = "ZZZZ";
    m_kernel->AddNode(0, node);
    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
    ASSERT_EQ(monikers.size(), 1u);
    EXPECT_EQ(FriendlyName(monikers[0].Get()), L"0123456789abcdefghijklmnopqrstuv");
}

TEST_F(EnumerationTest, NameFallsBackToSysfsThenPath) {
    CFakeNode blank = CaptureNode("    ");
    blank.sysfsName = "From sysfs\n";
    m_kernel->AddNode(0, blank);
    CFakeNode broken = CaptureNode("Cam\xFF");
    broken.sysfsName.clear();
    m_kernel->AddNode(7, broken);
    CFakeNode utf8 = CaptureNode("Kamera \xC3\xBC  ");
    m_kernel->AddNode(8, utf8);
    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
    ASSERT_EQ(monikers.size(), 3u);
    EXPECT_EQ(FriendlyName(monikers[0].Get()), L"From sysfs");
    EXPECT_EQ(FriendlyName(monikers[1].Get()), L"/dev/video7");
    EXPECT_EQ(FriendlyName(monikers[2].Get()), L"Kamera \u00FC");
}

TEST_F(EnumerationTest, NextHandsOutSeveralAndCountsThem) {
    for (int n = 0; n < 3; ++n)
        m_kernel->AddNode(n, CaptureNode("cam" + std::to_string(n)));
    ComPtr<ICreateDevEnum> devEnum;
    devEnum.Attach(new CSystemDeviceEnum(m_kernel));
    ComPtr<IEnumMoniker> monikers;
    ASSERT_EQ(devEnum->CreateClassEnumerator(CLSID_VideoInputDeviceCategory,
                                             monikers.ReleaseAndGetAddressOf(), 0),
              S_OK);

    IMoniker* batch[4] = {};
    EXPECT_EQ(monikers->Next(2, batch, nullptr), E_INVALIDARG);
    EXPECT_EQ(monikers->Next(1, nullptr, nullptr), E_POINTER);
    ULONG fetched = 99;
    EXPECT_EQ(monikers->Next(4, batch, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 3u);
    EXPECT_EQ(FriendlyName(batch[2]), L"cam2");
    for (ULONG i = 0; i < fetched; ++i)
        batch[i]->Release();
    EXPECT_EQ(monikers->Next(1, batch, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);

    ASSERT_EQ(monikers->Reset(), S_OK);
    EXPECT_EQ(monikers->Next(1, batch, nullptr), S_OK);
    EXPECT_EQ(FriendlyName(batch[0]), L"cam0");
    batch[0]->Release();
}

TEST_F(EnumerationTest, PropertyBagAnswersOnlyForItsNames) {
    m_kernel->AddNode(4, CaptureNode("Bag Camera"));
    std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
    ASSERT_EQ(monikers.size(), 1u);
    ComPtr<IPropertyBag> bag;
    void* unused = nullptr;
    EXPECT_EQ(monikers[0]->BindToStorage(nullptr, nullptr, IID_IBaseFilter, &unused),
              E_NOINTERFACE);
    EXPECT_EQ(monikers[0]->BindToStorage(nullptr, nullptr, IID_IPropertyBag, nullptr), E_POINTER);
    ASSERT_EQ(monikers[0]->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                         bag.ReleaseAndGetAddressOfVoid()),
              S_OK);

    VARIANT value;
    VariantInit(&value);
    value.vt = VT_BSTR;
    EXPECT_EQ(bag->Read(L"Description", &value, nullptr), HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(value.bstrVal, nullptr);
    EXPECT_EQ(bag->Read(nullptr, &value, nullptr), E_POINTER);
    EXPECT_EQ(bag->Read(L"FriendlyName", nullptr, nullptr), E_POINTER);

    ASSERT_EQ(bag->Read(L"DevicePath", &value, nullptr), S_OK);
    EXPECT_EQ(std::wstring(value.bstrVal), L"/dev/video4");
    EXPECT_EQ(SysStringLen(value.bstrVal), 11u);
    VariantClear(&value);

    value.vt = VT_I4;
    EXPECT_EQ(bag->Read(L"FriendlyName", &value, nullptr), DISP_E_TYPEMISMATCH);
    VariantInit(&value);
    ASSERT_EQ(bag->Read(L"friendlyname", &value, nullptr), S_OK);
    EXPECT_EQ(value.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(value.bstrVal), L"Bag Camera");
    VariantClear(&value);
}

} // namespace
