// CCaptureDevice against fake devices: enumeration, naming, binding,
// property reads, and that every reference it takes is dropped exactly once.
#include "capture/capturedevice.h"
#include "fixture.h"

#include <cstring>
#include <string>

using ::testing::_;
using ::testing::DoAll;
using ::testing::Return;
using ::testing::SetArgPointee;

namespace {

class CaptureDeviceTest : public CaptureTest {
protected:
    fakes::CFakeMoniker m_first, m_second;

    void SetUp() override {
        CaptureTest::SetUp();
        m_first.SetLabel("first moniker");
        m_second.SetLabel("second moniker");
        m_first.bag.name = L"Zeta Cam";
        m_second.bag.name = L"Alpha Cam";
    }
};

TEST_F(CaptureDeviceTest, MachineWithoutDevicesReportsEmptyCategory) {
    CCaptureDevice device;
    EXPECT_EQ(device.EnumerateDevices(), S_FALSE);
    EXPECT_EQ(device.DeviceCount(), 0);
    ComPtr<IBaseFilter> filter;
    EXPECT_EQ(device.BindDevice(0, filter.ReleaseAndGetAddressOf()), S_FALSE);
    EXPECT_TRUE(filter.IsEmpty());
    EXPECT_EQ(m_devEnum.Refs(), 0u) << "the device enumerator is released";
}

TEST_F(CaptureDeviceTest, ListsDevicesInEnumerationOrderAndAppendsOnEachEnumeration) {
    m_devEnum.devices = {&m_first, &m_second};
    CCaptureDevice device;
    ASSERT_EQ(device.EnumerateDevices(), S_OK);
    ASSERT_EQ(device.DeviceCount(), 2);
    EXPECT_EQ(m_first.Refs(), 1u) << "the list holds one reference per entry";

    std::wstring name;
    ASSERT_EQ(device.GetDeviceName(0, name), S_OK);
    EXPECT_EQ(name, L"Zeta Cam");
    ASSERT_EQ(device.GetDeviceName(1, name), S_OK);
    EXPECT_EQ(name, L"Alpha Cam");
    EXPECT_EQ(m_first.bag.lastProperty, L"FriendlyName");
    EXPECT_EQ(m_first.bag.Refs(), 0u) << "the property bag is released after the read";

    // Without clearing first, a second enumeration lists everything twice.
    ASSERT_EQ(device.EnumerateDevices(), S_OK);
    EXPECT_EQ(device.DeviceCount(), 4);
    ASSERT_EQ(device.GetDeviceName(2, name), S_OK);
    EXPECT_EQ(name, L"Zeta Cam");
    EXPECT_EQ(m_first.Refs(), 2u);

    device.ClearDevices();
    EXPECT_EQ(device.DeviceCount(), 0);
    EXPECT_EQ(m_first.Refs(), 0u);
    EXPECT_EQ(m_second.Refs(), 0u);
    for (const auto& e : m_devEnum.handedOut)
        EXPECT_EQ(e->Refs(), 0u);
}

TEST_F(CaptureDeviceTest, PositionsOutsideTheListFailDifferentlyForNameAndBind) {
    m_devEnum.devices = {&m_first};
    CCaptureDevice device;
    ASSERT_EQ(device.EnumerateDevices(), S_OK);

    for (int position : {1, -1, 1000}) {
        std::wstring name = L"untouched";
        EXPECT_EQ(device.GetDeviceName(position, name), E_INVALIDARG) << position;
        EXPECT_EQ(name, L"untouched");
        IBaseFilter* slot = reinterpret_cast<IBaseFilter*>(0x1);
        EXPECT_EQ(device.BindDevice(position, &slot), S_FALSE) << position;
        EXPECT_EQ(slot, reinterpret_cast<IBaseFilter*>(0x1)) << "the slot is left as it was";
    }
    EXPECT_EQ(m_first.binds, 0);
}

TEST_F(CaptureDeviceTest, NameFailuresReturnTheDevicesAnswerAndLeaveTheNameAlone) {
    m_first.bag.hasName = false;
    m_second.storageResult = E_ACCESSDENIED;
    m_devEnum.devices = {&m_first, &m_second};
    CCaptureDevice device;
    ASSERT_EQ(device.EnumerateDevices(), S_OK);

    std::wstring name = L"untouched";
    EXPECT_EQ(device.GetDeviceName(0, name), E_INVALIDARG) << "the result of Read";
    EXPECT_EQ(name, L"untouched");
    EXPECT_EQ(m_first.bag.Refs(), 0u);
    EXPECT_EQ(device.GetDeviceName(1, name), E_ACCESSDENIED) << "the result of BindToStorage";
    EXPECT_EQ(name, L"untouched");
}

TEST_F(CaptureDeviceTest, EnumerationFailuresAreReturnedAndReleaseWhatWasObtained) {
    m_devEnum.devices = {&m_first};
    {
        m_devEnum.createResult = E_OUTOFMEMORY;
        CCaptureDevice device;
        EXPECT_EQ(device.EnumerateDevices(), E_OUTOFMEMORY);
        EXPECT_EQ(device.DeviceCount(), 0);
        EXPECT_EQ(m_devEnum.Refs(), 0u);
    }
    {
        m_devEnum.createResult = S_OK;
        m_devEnum.resetResult = S_FALSE;
        CCaptureDevice device;
        EXPECT_EQ(device.EnumerateDevices(), S_FALSE) << "Reset's answer, unchanged";
        EXPECT_EQ(device.DeviceCount(), 0);
        EXPECT_EQ(m_devEnum.Refs(), 0u);
        EXPECT_EQ(m_devEnum.handedOut.back()->Refs(), 0u);
    }
    {
        m_devEnum.resetResult = S_OK;
        m_factory.createResult = REGDB_E_CLASSNOTREG;
        CCaptureDevice device;
        EXPECT_EQ(device.EnumerateDevices(), REGDB_E_CLASSNOTREG);
    }
}

TEST_F(CaptureDeviceTest, AnErrorFromNextEndsTheListQuietly) {
    m_devEnum.devices = {&m_first, &m_second};
    m_devEnum.endResult = E_FAIL;
    CCaptureDevice device;
    EXPECT_EQ(device.EnumerateDevices(), S_OK);
    EXPECT_EQ(device.DeviceCount(), 2);
}

TEST_F(CaptureDeviceTest, EnumerationNeedsCom) {
    StopCom();
    CCaptureDevice device;
    EXPECT_EQ(device.EnumerateDevices(), CO_E_NOTINITIALIZED);
    EXPECT_EQ(device.DeviceCount(), 0);
    StartCom();
}

TEST_F(CaptureDeviceTest, BindingHandsOutTheFilterAndItsResult) {
    fakes::CFakeFilter filter;
    m_first.filter = &filter;
    m_second.bindResult = HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
    m_devEnum.devices = {&m_first, &m_second};
    CCaptureDevice device;
    ASSERT_EQ(device.EnumerateDevices(), S_OK);

    ComPtr<IBaseFilter> slot;
    EXPECT_EQ(device.BindDevice(0, slot.ReleaseAndGetAddressOf()), S_OK);
    EXPECT_EQ(slot.Get(), &filter);
    EXPECT_EQ(filter.Refs(), 1u);
    EXPECT_EQ(device.BindDevice(1, slot.ReleaseAndGetAddressOf()),
              HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST));
    EXPECT_TRUE(slot.IsEmpty());
    EXPECT_EQ(filter.Refs(), 0u);
}

class PropertyReadTest : public CaptureDeviceTest {
protected:
    fakes::CFakeFilter m_filter;
    ::testing::StrictMock<fakes::CMockProcAmp> m_procAmp;
    ::testing::StrictMock<fakes::CMockCameraControl> m_camera;
    PropertyReading m_reading = {11, 12, 13, 14, 15, 16};
};

TEST_F(PropertyReadTest, EmptySlotsAndMissingReadingGiveEPointerWithoutCalls) {
    CCaptureDevice device;
    EXPECT_EQ(device.ReadProcAmpProperty(VideoProcAmp_Brightness, &m_reading), E_POINTER);
    EXPECT_EQ(device.ReadCameraControlProperty(CameraControl_Exposure, &m_reading), E_POINTER);
    const PropertyReading untouched = {11, 12, 13, 14, 15, 16};
    EXPECT_EQ(0, std::memcmp(&m_reading, &untouched, sizeof m_reading));

    device.ProcAmpSlot() = ComPtr<IAMVideoProcAmp>::FromRaw(&m_procAmp);
    EXPECT_EQ(device.ReadProcAmpProperty(VideoProcAmp_Brightness, nullptr), E_POINTER);
}

TEST_F(PropertyReadTest, ValueFlagsReplaceRangeFlagsAndBothQueriesGetTheProperty) {
    CCaptureDevice device;
    device.CameraControlSlot() = ComPtr<IAMCameraControl>::FromRaw(&m_camera);
    ::testing::InSequence order;
    EXPECT_CALL(m_camera, GetRange(CameraControl_Exposure, _, _, _, _, _))
        .WillOnce(DoAll(
            SetArgPointee<1>(-13), SetArgPointee<2>(-1), SetArgPointee<3>(1), SetArgPointee<4>(-6),
            SetArgPointee<5>(CameraControl_Flags_Auto | CameraControl_Flags_Manual), Return(S_OK)));
    EXPECT_CALL(m_camera, Get(CameraControl_Exposure, _, _))
        .WillOnce(DoAll(SetArgPointee<1>(-5), SetArgPointee<2>(CameraControl_Flags_Manual),
                        Return(S_OK)));
    ASSERT_EQ(device.ReadCameraControlProperty(CameraControl_Exposure, &m_reading), S_OK);
    EXPECT_EQ(m_reading.lMin, -13);
    EXPECT_EQ(m_reading.lMax, -1);
    EXPECT_EQ(m_reading.lSteppingDelta, 1);
    EXPECT_EQ(m_reading.lDefault, -6);
    EXPECT_EQ(m_reading.lCapsFlags, CameraControl_Flags_Manual);
    EXPECT_EQ(m_reading.lValue, -5);
}

TEST_F(PropertyReadTest, RangeAnswerDecidesWhetherTheValueIsAskedFor) {
    CCaptureDevice device;
    device.ProcAmpSlot() = ComPtr<IAMVideoProcAmp>::FromRaw(&m_procAmp);

    // S_FALSE from the range query still counts as an answer.
    EXPECT_CALL(m_procAmp, GetRange(VideoProcAmp_Hue, _, _, _, _, _)).WillOnce(Return(S_FALSE));
    EXPECT_CALL(m_procAmp, Get(VideoProcAmp_Hue, _, _)).WillOnce(Return(S_OK));
    EXPECT_EQ(device.ReadProcAmpProperty(VideoProcAmp_Hue, &m_reading), S_OK);

    // A failing value query is the result, even after a good range.
    EXPECT_CALL(m_procAmp, GetRange(VideoProcAmp_Gamma, _, _, _, _, _)).WillOnce(Return(S_OK));
    EXPECT_CALL(m_procAmp, Get(VideoProcAmp_Gamma, _, _)).WillOnce(Return(E_FAIL));
    EXPECT_EQ(device.ReadProcAmpProperty(VideoProcAmp_Gamma, &m_reading), E_FAIL);

    // A failing range query stops before the value query.
    EXPECT_CALL(m_procAmp, GetRange(VideoProcAmp_Sharpness, _, _, _, _, _))
        .WillOnce(Return(E_PROP_ID_UNSUPPORTED));
    EXPECT_EQ(device.ReadProcAmpProperty(VideoProcAmp_Sharpness, &m_reading),
              E_PROP_ID_UNSUPPORTED);
}

TEST_F(PropertyReadTest, DestructionReleasesFilterThenInterfacesThenList) {
    std::vector<std::string> log;
    m_filter.OnRelease([&] { log.push_back("filter"); });
    m_procAmp.OnRelease([&] { log.push_back("procamp"); });
    m_camera.OnRelease([&] { log.push_back("camera"); });
    m_first.OnRelease([&] { log.push_back("moniker"); });
    m_devEnum.devices = {&m_first};
    {
        CCaptureDevice device;
        ASSERT_EQ(device.EnumerateDevices(), S_OK);
        device.FilterSlot() = ComPtr<IBaseFilter>::FromRaw(&m_filter);
        device.ProcAmpSlot() = ComPtr<IAMVideoProcAmp>::FromRaw(&m_procAmp);
        device.CameraControlSlot() = ComPtr<IAMCameraControl>::FromRaw(&m_camera);
        log.clear();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"filter", "procamp", "camera", "moniker"}));
}

} // namespace
