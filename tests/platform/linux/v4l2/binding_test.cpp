// Binding a moniker to its filter: the node is checked again, and the
// descriptor lives exactly as long as the filter and its property interfaces.
#include "tests/platform/linux/v4l2/devicetest.h"

#include "platform/linux/v4l2/propertypageclasses.h"

#include <gtest/gtest.h>

namespace {

const HRESULT kGone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
        m_monikers = Enumerate(m_kernel);
        ASSERT_EQ(m_monikers.size(), 1u);
        ASSERT_EQ(m_kernel->OpenDescriptors(), 0); // enumeration closes what it opened
    }
    void TearDown() override {
        m_monikers.clear();
        EXPECT_EQ(m_kernel->OpenDescriptors(), 0);
        EXPECT_EQ(m_kernel->Opens(), m_kernel->Closes());
        EXPECT_TRUE(m_kernel->UnknownRequests().empty());
        EXPECT_TRUE(m_kernel->Writes().empty());
    }

    std::shared_ptr<CFakeKernel> m_kernel = std::make_shared<CFakeKernel>();
    std::vector<ComPtr<IMoniker>> m_monikers;
};

TEST_F(BindingTest, DescriptorClosesWithTheLastReference) {
    const int opensBefore = m_kernel->Opens();
    ComPtr<IBaseFilter> filter = Bind(m_monikers[0].Get());
    ASSERT_TRUE(filter);
    EXPECT_EQ(m_kernel->Opens(), opensBefore + 1);
    EXPECT_EQ(m_kernel->OpenDescriptors(), 1);

    ComPtr<IAMVideoProcAmp> procAmp;
    ComPtr<IAMCameraControl> cameraControl;
    ASSERT_EQ(filter.As(IID_IAMVideoProcAmp, procAmp), S_OK);
    ASSERT_EQ(filter.As(IID_IAMCameraControl, cameraControl), S_OK);
    EXPECT_EQ(m_kernel->Opens(), opensBefore + 1); // no second descriptor

    // The capture holder releases the filter first, then the interfaces.
    filter.Release();
    EXPECT_EQ(m_kernel->OpenDescriptors(), 1);
    LONG value = 0, flags = 0;
    EXPECT_EQ(procAmp->Get(VideoProcAmp_Brightness, &value, &flags), S_OK);
    procAmp.Release();
    EXPECT_EQ(m_kernel->OpenDescriptors(), 1);
    EXPECT_EQ(cameraControl->Get(CameraControl_Exposure, &value, &flags), S_OK);
    cameraControl.Release();
    EXPECT_EQ(m_kernel->OpenDescriptors(), 0);
}

TEST_F(BindingTest, EveryBindOpensItsOwnDescriptor) {
    ComPtr<IBaseFilter> first = Bind(m_monikers[0].Get());
    ComPtr<IBaseFilter> second = Bind(m_monikers[0].Get());
    ASSERT_TRUE(first && second);
    EXPECT_NE(first.Get(), second.Get());
    EXPECT_EQ(m_kernel->OpenDescriptors(), 2);
    first.Release();
    EXPECT_EQ(m_kernel->OpenDescriptors(), 1);
}

TEST_F(BindingTest, PropertyInterfacesShareTheFiltersIdentity) {
    ComPtr<IBaseFilter> filter = Bind(m_monikers[0].Get());
    ComPtr<IAMVideoProcAmp> procAmp;
    ASSERT_EQ(filter.As(IID_IAMVideoProcAmp, procAmp), S_OK);

    ComPtr<IUnknown> fromFilter, fromProcAmp;
    ASSERT_EQ(filter.As(IID_IUnknown, fromFilter), S_OK);
    ASSERT_EQ(procAmp.As(IID_IUnknown, fromProcAmp), S_OK);
    EXPECT_EQ(fromFilter.Get(), fromProcAmp.Get());

    ComPtr<IBaseFilter> back;
    ASSERT_EQ(procAmp.As(IID_IBaseFilter, back), S_OK);
    EXPECT_EQ(back.Get(), filter.Get());
    ComPtr<IAMCameraControl> cameraControl;
    EXPECT_EQ(procAmp.As(IID_IAMCameraControl, cameraControl), S_OK);
    ComPtr<IAMVideoProcAmp> again;
    ASSERT_EQ(procAmp.As(IID_IAMVideoProcAmp, again), S_OK);
    EXPECT_EQ(again.Get(), procAmp.Get());
    ComPtr<IPropertyBag> none;
    EXPECT_EQ(procAmp.As(IID_IPropertyBag, none), E_NOINTERFACE);
}

TEST_F(BindingTest, UnpluggedBeforeBindingFails) {
    m_kernel->Unplug(0);
    HRESULT hr = S_OK;
    EXPECT_FALSE(Bind(m_monikers[0].Get(), &hr));
    EXPECT_EQ(hr, kGone);
}

TEST_F(BindingTest, NodeTakenByAnotherDeviceFails) {
    m_kernel->Unplug(0);
    AddUsbWebcam(*m_kernel, 0, "Other Webcam", "usb-7");
    HRESULT hr = S_OK;
    EXPECT_FALSE(Bind(m_monikers[0].Get(), &hr));
    EXPECT_EQ(hr, kGone);
}

TEST_F(BindingTest, NodeNoLongerCapturingFails) {
    CFakeNode metadata;
    metadata.card = "HD Webcam";
    metadata.busInfo = "usb-1";
    metadata.capabilities = WebcamDeviceCaps();
    metadata.deviceCaps = MetadataNodeCaps();
    m_kernel->AddNode(0, metadata);
    HRESULT hr = S_OK;
    EXPECT_FALSE(Bind(m_monikers[0].Get(), &hr));
    EXPECT_EQ(hr, kGone);
}

TEST_F(BindingTest, BindAnswersForTheRequestedInterface) {
    ComPtr<IAMVideoProcAmp> procAmp;
    EXPECT_EQ(m_monikers[0]->BindToObject(nullptr, nullptr, IID_IAMVideoProcAmp,
                                          procAmp.ReleaseAndGetAddressOfVoid()),
              S_OK);
    EXPECT_TRUE(procAmp);
    ComPtr<IPropertyBag> bag;
    EXPECT_EQ(m_monikers[0]->BindToObject(nullptr, nullptr, IID_IPropertyBag,
                                          bag.ReleaseAndGetAddressOfVoid()),
              E_NOINTERFACE);
    EXPECT_FALSE(bag);
    EXPECT_EQ(m_monikers[0]->BindToObject(nullptr, nullptr, IID_IBaseFilter, nullptr), E_POINTER);
    procAmp.Release();
    EXPECT_EQ(m_kernel->OpenDescriptors(), 0);
}

TEST(FilterInterfaces, OfferedOnlyForControlsTheNodeHas) {
    auto kernel = std::make_shared<CFakeKernel>();
    CFakeNode bare;
    bare.card = "Bare";
    bare.capabilities = CaptureNodeCaps() | V4L2_CAP_DEVICE_CAPS;
    bare.deviceCaps = CaptureNodeCaps();
    kernel->AddNode(0, bare);
    CFakeNode exposureOnly = bare;
    exposureOnly.controls[V4L2_CID_EXPOSURE].maximum = 100; // no unit, no auto
    kernel->AddNode(1, exposureOnly);
    CFakeNode disabledOnly = bare;
    disabledOnly.controls[V4L2_CID_BRIGHTNESS].flags = V4L2_CTRL_FLAG_DISABLED;
    kernel->AddNode(2, disabledOnly);
    // Zoom alone is a camera control too, as on Windows; and the pages follow
    // the interfaces, the amplifier's first.
    CFakeNode zoomOnly = bare;
    zoomOnly.controls[V4L2_CID_ZOOM_ABSOLUTE].maximum = 10;
    kernel->AddNode(3, zoomOnly);
    CFakeNode both = zoomOnly;
    both.controls[V4L2_CID_GAIN].maximum = 10;
    kernel->AddNode(4, both);
    const CLSID amp = CLSID_V4l2ProcAmpPropertyPage, camera = CLSID_V4l2CameraControlPropertyPage;
    const std::vector<std::vector<CLSID>> pages = {{}, {camera}, {}, {camera}, {amp, camera}};

    std::vector<ComPtr<IMoniker>> monikers = Enumerate(kernel);
    ASSERT_EQ(monikers.size(), pages.size());
    for (size_t i = 0; i < monikers.size(); ++i) {
        ComPtr<IBaseFilter> filter = Bind(monikers[i].Get());
        ASSERT_TRUE(filter);
        ComPtr<IAMVideoProcAmp> procAmp;
        ComPtr<IAMCameraControl> cameraControl;
        EXPECT_EQ(filter.As(IID_IAMVideoProcAmp, procAmp), i == 4 ? S_OK : E_NOINTERFACE) << i;
        EXPECT_EQ(filter.As(IID_IAMCameraControl, cameraControl),
                  pages[i].empty() ? E_NOINTERFACE : S_OK)
            << i;
        ComPtr<ISpecifyPropertyPages> specify;
        ASSERT_EQ(filter.As(IID_ISpecifyPropertyPages, specify), S_OK);
        CAUUID got = {99, nullptr};
        EXPECT_EQ(specify->GetPages(&got), S_OK);
        EXPECT_EQ(std::vector<CLSID>(got.pElems, got.pElems + got.cElems), pages[i]) << i;
        CoTaskMemFree(got.pElems);
    }
    EXPECT_EQ(kernel->OpenDescriptors(), 0);
}

} // namespace
