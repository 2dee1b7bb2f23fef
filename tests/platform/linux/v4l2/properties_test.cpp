// The two property interfaces over V4L2 controls: which control answers,
// how values and flags are converted, and what unusual drivers give.
#include "tests/platform/linux/v4l2/devicetest.h"

#include "platform/propertydefault.h"

#include <cerrno>
#include <functional>
#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr LONG kAuto = 1;
constexpr LONG kManual = 2;
constexpr LONG kAutoOrManual = 3;

struct Reading {
    HRESULT rangeResult = E_FAIL;
    LONG min = 0, max = 0, step = 0, def = 0, caps = 0;
    HRESULT valueResult = E_FAIL;
    LONG value = 0, flags = 0;
};

template <class Interface> Reading Read(Interface* properties, LONG property) {
    Reading r;
    r.rangeResult = properties->GetRange(property, &r.min, &r.max, &r.step, &r.def, &r.caps);
    r.valueResult = properties->Get(property, &r.value, &r.flags);
    return r;
}

class PropertiesTest : public ::testing::Test {
protected:
    void TearDown() override {
        m_procAmp.Release();
        m_cameraControl.Release();
        EXPECT_EQ(m_kernel->OpenDescriptors(), 0);
        EXPECT_TRUE(m_kernel->UnknownRequests().empty());
        if (!m_writesExpected) {
            EXPECT_TRUE(m_kernel->Writes().empty()); // reading never writes
        }
    }

    // Binds the first camera and takes whichever interfaces it offers.
    void BindFirst() {
        std::vector<ComPtr<IMoniker>> monikers = Enumerate(m_kernel);
        ASSERT_FALSE(monikers.empty());
        ComPtr<IBaseFilter> filter = Bind(monikers[0].Get());
        ASSERT_TRUE(filter);
        filter.As(IID_IAMVideoProcAmp, m_procAmp);
        filter.As(IID_IAMCameraControl, m_cameraControl);
    }

    // A bare capture node at /dev/video0 whose controls the test fills.
    CFakeNode& BareCamera() {
        CFakeNode node;
        node.card = "Bare";
        node.capabilities = CaptureNodeCaps() | V4L2_CAP_DEVICE_CAPS;
        node.deviceCaps = CaptureNodeCaps();
        return m_kernel->AddNode(0, node);
    }

    std::shared_ptr<CFakeKernel> m_kernel = std::make_shared<CFakeKernel>();
    ComPtr<IAMVideoProcAmp> m_procAmp;
    ComPtr<IAMCameraControl> m_cameraControl;
    bool m_writesExpected = false;
};

// The saved file checks the seven saved amplifier properties and exposure;
// this covers the three the program does not save and the exposure details.
TEST_F(PropertiesTest, UsbWebcamReadsLikeItsControls) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    BindFirst();
    ASSERT_TRUE(m_procAmp);
    ASSERT_TRUE(m_cameraControl);

    EXPECT_EQ(Read(m_procAmp.Get(), VideoProcAmp_Gamma).value, 120);
    EXPECT_EQ(Read(m_procAmp.Get(), VideoProcAmp_BacklightCompensation).def, 1);
    Reading gain = Read(m_procAmp.Get(), VideoProcAmp_Gain);
    EXPECT_EQ(gain.value, 5);
    EXPECT_EQ(gain.caps, kManual); // no auto gain on this camera

    Reading color = Read(m_procAmp.Get(), VideoProcAmp_ColorEnable);
    EXPECT_EQ(color.rangeResult, E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(color.valueResult, E_PROP_ID_UNSUPPORTED);
    EXPECT_EQ(color.min, 0); // untouched on failure

    Reading exposure = Read(m_cameraControl.Get(), CameraControl_Exposure);
    EXPECT_EQ(exposure.rangeResult, S_OK);
    EXPECT_EQ(exposure.min, -12); // 3 units = 0.3 ms
    EXPECT_EQ(exposure.max, -2);  // 2047 units = 204.7 ms
    EXPECT_EQ(exposure.step, 1);
    EXPECT_EQ(exposure.def, -6);
    EXPECT_EQ(exposure.caps, kAutoOrManual);
    EXPECT_EQ(exposure.value, -6);
    EXPECT_EQ(exposure.flags, kAuto); // aperture priority counts as automatic
}

TEST_F(PropertiesTest, UnmappedPropertiesAreUnsupported) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    BindFirst();
    for (LONG property : {LONG{-1}, LONG{10}, LONG{1000}})
        EXPECT_EQ(Read(m_procAmp.Get(), property).rangeResult, E_PROP_ID_UNSUPPORTED);
    for (LONG property : {LONG{CameraControl_Pan}, LONG{CameraControl_Focus}, LONG{-1}}) {
        Reading r = Read(m_cameraControl.Get(), property);
        EXPECT_EQ(r.rangeResult, E_PROP_ID_UNSUPPORTED);
        EXPECT_EQ(r.valueResult, E_PROP_ID_UNSUPPORTED);
    }
}

TEST_F(PropertiesTest, MissingOutPointersAreRejected) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    BindFirst();
    LONG a = 0, b = 0, c = 0, d = 0, e = 0;
    EXPECT_EQ(m_procAmp->GetRange(VideoProcAmp_Brightness, nullptr, &b, &c, &d, &e), E_POINTER);
    EXPECT_EQ(m_procAmp->GetRange(VideoProcAmp_Brightness, &a, &b, &c, &d, nullptr), E_POINTER);
    EXPECT_EQ(m_procAmp->Get(VideoProcAmp_Brightness, nullptr, &b), E_POINTER);
    EXPECT_EQ(m_cameraControl->Get(CameraControl_Exposure, &a, nullptr), E_POINTER);
    EXPECT_EQ(m_cameraControl->GetRange(CameraControl_Exposure, &a, &b, nullptr, &d, &e),
              E_POINTER);
}

TEST_F(PropertiesTest, ExposureModesDecideTheFlags) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    BindFirst();
    ASSERT_TRUE(m_cameraControl);
    const struct {
        int64_t mode;
        LONG flags;
    } cases[] = {
        {V4L2_EXPOSURE_AUTO, kAuto},
        {V4L2_EXPOSURE_MANUAL, kManual},
        {V4L2_EXPOSURE_SHUTTER_PRIORITY, kManual},
        {V4L2_EXPOSURE_APERTURE_PRIORITY, kAuto},
    };
    for (const auto& c : cases) {
        // Another program changes the mode while the filter is open.
        m_kernel->Node(0).controls[V4L2_CID_EXPOSURE_AUTO].value = c.mode;
        Reading r = Read(m_cameraControl.Get(), CameraControl_Exposure);
        EXPECT_EQ(r.valueResult, S_OK);
        EXPECT_EQ(r.flags, c.flags) << c.mode;
        EXPECT_EQ(r.caps, kAutoOrManual) << c.mode;
    }
}

TEST_F(PropertiesTest, ExposureFallsBackToTheUnitlessControlRaw) {
    CFakeNode& node = BareCamera();
    CFakeControl exposure;
    exposure.minimum = 0;
    exposure.maximum = 1000;
    exposure.step = 5;
    exposure.defaultValue = 100;
    exposure.value = 250;
    node.controls[V4L2_CID_EXPOSURE] = exposure;
    BindFirst();
    ASSERT_TRUE(m_cameraControl);
    Reading r = Read(m_cameraControl.Get(), CameraControl_Exposure);
    EXPECT_EQ(r.rangeResult, S_OK);
    EXPECT_EQ(r.min, 0);
    EXPECT_EQ(r.max, 1000);
    EXPECT_EQ(r.step, 5);
    EXPECT_EQ(r.def, 100);
    EXPECT_EQ(r.caps, kManual);
    EXPECT_EQ(r.value, 250);
    EXPECT_EQ(r.flags, kManual);
}

TEST_F(PropertiesTest, ExposureExtremesConvertWithoutOverflow) {
    CFakeNode& node = BareCamera();
    CFakeControl exposure;
    exposure.type = V4L2_CTRL_TYPE_INTEGER64;
    exposure.minimum = 0;
    exposure.maximum = std::numeric_limits<int64_t>::max();
    exposure.defaultValue = -10;
    exposure.value = 10000;
    node.controls[V4L2_CID_EXPOSURE_ABSOLUTE] = exposure;
    BindFirst();
    ASSERT_TRUE(m_cameraControl);
    Reading r = Read(m_cameraControl.Get(), CameraControl_Exposure);
    EXPECT_EQ(r.rangeResult, S_OK);
    EXPECT_EQ(r.min, -13);
    EXPECT_EQ(r.max, 50);
    EXPECT_EQ(r.def, -13);
    EXPECT_EQ(r.step, 1);
    EXPECT_EQ(r.value, 0);
}

TEST_F(PropertiesTest, ColourEffectGivesColourEnable) {
    CFakeNode& node = BareCamera();
    CFakeControl effect;
    effect.type = V4L2_CTRL_TYPE_MENU;
    effect.maximum = V4L2_COLORFX_SET_CBCR;
    effect.defaultValue = V4L2_COLORFX_NONE;
    effect.value = V4L2_COLORFX_BW;
    node.controls[V4L2_CID_COLORFX] = effect;
    BindFirst();
    ASSERT_TRUE(m_procAmp);
    Reading r = Read(m_procAmp.Get(), VideoProcAmp_ColorEnable);
    EXPECT_EQ(r.rangeResult, S_OK);
    EXPECT_EQ(r.min, 0);
    EXPECT_EQ(r.max, 1);
    EXPECT_EQ(r.step, 1);
    EXPECT_EQ(r.def, 1);
    EXPECT_EQ(r.caps, kManual);
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(r.flags, kManual);
}

TEST_F(PropertiesTest, OddRangesAreReportedAsFarAsTheyFit) {
    CFakeNode& node = BareCamera();
    CFakeControl reversed;
    reversed.minimum = 50;
    reversed.maximum = -50;
    reversed.step = 0;
    reversed.defaultValue = 0;
    node.controls[V4L2_CID_BRIGHTNESS] = reversed;
    CFakeControl wide;
    wide.type = V4L2_CTRL_TYPE_INTEGER64;
    wide.minimum = std::numeric_limits<int64_t>::min();
    wide.maximum = std::numeric_limits<int64_t>::max();
    wide.step = std::numeric_limits<uint64_t>::max();
    wide.defaultValue = int64_t{1} << 40;
    wide.value = -(int64_t{1} << 40);
    node.controls[V4L2_CID_GAIN] = wide;
    BindFirst();
    ASSERT_TRUE(m_procAmp);

    Reading r = Read(m_procAmp.Get(), VideoProcAmp_Brightness);
    EXPECT_EQ(r.rangeResult, S_OK);
    EXPECT_EQ(r.min, 50);
    EXPECT_EQ(r.max, -50);
    EXPECT_EQ(r.step, 0);

    r = Read(m_procAmp.Get(), VideoProcAmp_Gain);
    EXPECT_EQ(r.rangeResult, S_OK);
    EXPECT_EQ(r.min, std::numeric_limits<LONG>::min());
    EXPECT_EQ(r.max, std::numeric_limits<LONG>::max());
    EXPECT_EQ(r.step, std::numeric_limits<LONG>::max());
    EXPECT_EQ(r.def, std::numeric_limits<LONG>::max());
    EXPECT_EQ(r.valueResult, S_OK);
    EXPECT_EQ(r.value, std::numeric_limits<LONG>::min());
}

TEST_F(PropertiesTest, DisabledAndNonNumericControlsAreUnsupported) {
    CFakeNode& node = BareCamera();
    node.controls[V4L2_CID_BRIGHTNESS].flags = V4L2_CTRL_FLAG_DISABLED;
    node.controls[V4L2_CID_CONTRAST].type = V4L2_CTRL_TYPE_STRING;
    node.controls[V4L2_CID_HUE].type = V4L2_CTRL_TYPE_BUTTON;
    node.controls[V4L2_CID_SATURATION].maximum = 10; // keeps the interface offered
    // A disabled companion is no companion.
    node.controls[V4L2_CID_GAIN].maximum = 10;
    node.controls[V4L2_CID_AUTOGAIN].type = V4L2_CTRL_TYPE_BOOLEAN;
    node.controls[V4L2_CID_AUTOGAIN].flags = V4L2_CTRL_FLAG_DISABLED;
    node.controls[V4L2_CID_AUTOGAIN].value = 1;
    BindFirst();
    ASSERT_TRUE(m_procAmp);
    for (LONG property : {VideoProcAmp_Brightness, VideoProcAmp_Contrast, VideoProcAmp_Hue}) {
        Reading r = Read(m_procAmp.Get(), property);
        EXPECT_EQ(r.rangeResult, E_PROP_ID_UNSUPPORTED) << property;
        EXPECT_EQ(r.valueResult, E_PROP_ID_UNSUPPORTED) << property;
    }
    EXPECT_EQ(Read(m_procAmp.Get(), VideoProcAmp_Saturation).rangeResult, S_OK);
    Reading gain = Read(m_procAmp.Get(), VideoProcAmp_Gain);
    EXPECT_EQ(gain.caps, kManual);
    EXPECT_EQ(gain.flags, kManual);
}

TEST_F(PropertiesTest, CompanionsSetTheAutoFlags) {
    CFakeNode& node = BareCamera();
    node.controls[V4L2_CID_BRIGHTNESS].maximum = 255;
    node.controls[V4L2_CID_AUTOBRIGHTNESS].type = V4L2_CTRL_TYPE_BOOLEAN;
    node.controls[V4L2_CID_AUTOBRIGHTNESS].value = 0;
    node.controls[V4L2_CID_HUE].maximum = 255;
    node.controls[V4L2_CID_HUE_AUTO].type = V4L2_CTRL_TYPE_BOOLEAN;
    node.controls[V4L2_CID_HUE_AUTO].value = 1;
    node.controls[V4L2_CID_GAIN].maximum = 255;
    node.controls[V4L2_CID_AUTOGAIN].type = V4L2_CTRL_TYPE_BOOLEAN;
    node.controls[V4L2_CID_AUTOGAIN].value = 1;
    BindFirst();
    ASSERT_TRUE(m_procAmp);
    Reading brightness = Read(m_procAmp.Get(), VideoProcAmp_Brightness);
    EXPECT_EQ(brightness.caps, kAutoOrManual);
    EXPECT_EQ(brightness.flags, kManual);
    Reading hue = Read(m_procAmp.Get(), VideoProcAmp_Hue);
    EXPECT_EQ(hue.caps, kAutoOrManual);
    EXPECT_EQ(hue.flags, kAuto);
    EXPECT_EQ(Read(m_procAmp.Get(), VideoProcAmp_Gain).flags, kAuto);
}

// Whatever a driver answers while its device leaves (uvcvideo: EPROTO), a
// node that is gone means the device is; after EPROTO the node may go later.
class UnplugTest : public PropertiesTest,
                   public ::testing::WithParamInterface<std::pair<int, int>> {};
INSTANTIATE_TEST_SUITE_P(AnswersAndLingeringOpens, UnplugTest,
                         ::testing::Values(std::pair{ENODEV, 0}, std::pair{EPROTO, 0},
                                           std::pair{EIO, 0}, std::pair{EPROTO, 3}));

TEST_P(UnplugTest, UnplugBetweenReadsFailsEveryLaterCall) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    BindFirst();
    ASSERT_EQ(Read(m_procAmp.Get(), VideoProcAmp_Brightness).valueResult, S_OK);
    m_kernel->Unplug(0, GetParam().first, GetParam().second);
    m_kernel->Unplug(1, GetParam().first);
    const HRESULT gone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    Reading contrast = Read(m_procAmp.Get(), VideoProcAmp_Contrast);
    EXPECT_EQ(contrast.rangeResult, gone);
    EXPECT_EQ(contrast.valueResult, gone);
    // An unsupported property now reads as gone too, not as unsupported.
    EXPECT_EQ(Read(m_procAmp.Get(), VideoProcAmp_ColorEnable).rangeResult, gone);
    EXPECT_EQ(Read(m_cameraControl.Get(), CameraControl_Exposure).valueResult, gone);
    EXPECT_EQ(m_procAmp->Set(VideoProcAmp_Brightness, 20, kManual), gone);
}

TEST_F(PropertiesTest, ReadErrorsOfValueOrCompanionFailTheValueQuery) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    BindFirst();
    m_kernel->Node(0).controls[V4L2_CID_CONTRAST].readErrno = EIO;
    m_kernel->Node(0).controls[V4L2_CID_AUTO_WHITE_BALANCE].readErrno = EBUSY;
    Reading contrast = Read(m_procAmp.Get(), VideoProcAmp_Contrast);
    EXPECT_EQ(contrast.rangeResult, S_OK);
    EXPECT_EQ(contrast.valueResult, HRESULT_FROM_WIN32(ERROR_IO_DEVICE));
    Reading whiteBalance = Read(m_procAmp.Get(), VideoProcAmp_WhiteBalance);
    EXPECT_EQ(whiteBalance.rangeResult, S_OK);
    EXPECT_EQ(whiteBalance.valueResult, HRESULT_FROM_WIN32(ERROR_BUSY));
    EXPECT_EQ(whiteBalance.value, 0); // untouched on failure
}

TEST_F(PropertiesTest, DriversWithoutExtendedIoctlsAreReadWithTheOriginalOnes) {
    AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
    m_kernel->Node(0).oldIoctlsOnly = true;
    BindFirst();
    ASSERT_TRUE(m_procAmp && m_cameraControl);
    Reading whiteBalance = Read(m_procAmp.Get(), VideoProcAmp_WhiteBalance);
    EXPECT_EQ(whiteBalance.valueResult, S_OK);
    EXPECT_EQ(whiteBalance.min, 2800);
    EXPECT_EQ(whiteBalance.value, 5000);
    EXPECT_EQ(whiteBalance.flags, kAuto);
    Reading exposure = Read(m_cameraControl.Get(), CameraControl_Exposure);
    EXPECT_EQ(exposure.valueResult, S_OK);
    EXPECT_EQ(exposure.value, -6);
    EXPECT_EQ(m_kernel->ReadControls().count(V4L2_CID_EXPOSURE_AUTO), 1u);
}

} // namespace

namespace {

// Set, the restore's one write: the flags decide the auto companion, manual
// switches it off before the value, values are converted back and checked
// against the range before anything is written, and a value in place is not
// written again. Each case starts from a fresh USB webcam.
TEST_F(PropertiesTest, SetWritesTheControlsTheFlagsAsk) {
    m_writesExpected = true;
    const uint32_t kMode = V4L2_CID_EXPOSURE_AUTO, kExposure = V4L2_CID_EXPOSURE_ABSOLUTE;
    const uint32_t kAutoWhite = V4L2_CID_AUTO_WHITE_BALANCE;
    const LONG kBrightness = VideoProcAmp_Brightness, kWhite = VideoProcAmp_WhiteBalance;
    const LONG kColour = VideoProcAmp_ColorEnable, kExp = CameraControl_Exposure;
    auto colourMenu = [](CFakeNode& n) {
        n.controls[V4L2_CID_COLORFX].type = V4L2_CTRL_TYPE_MENU;
        n.controls[V4L2_CID_COLORFX].maximum = 15;
    };
    const struct {
        const char* label;
        bool cameraControl;
        LONG property, value, flags;
        HRESULT result;
        std::vector<CFakeKernel::CWrite> writes;
        std::function<void(CFakeNode&)> prepare = nullptr;
        bool fromDefault = false; // value and flags are GetPropertyDefault's answer
    } cases[] = {
        // clang-format off
        {"manual value", false, kBrightness, 20, kManual, S_OK, {{V4L2_CID_BRIGHTNESS, 20}}},
        {"value in place", false, kBrightness, 10, kManual, S_OK, {}},
        {"auto without a companion", false, kBrightness, 10, kAuto, E_INVALIDARG, {}},
        {"outside the range", false, kBrightness, 65, kManual, E_INVALIDARG, {}},
        {"auto off, then the value", false, kWhite, 4000, kManual, S_OK,
         {{kAutoWhite, 0}, {V4L2_CID_WHITE_BALANCE_TEMPERATURE, 4000}}},
        {"auto on, value left alone", false, kWhite, 3000, kAuto, S_OK, {{kAutoWhite, 1}},
         [](CFakeNode& n) { n.controls[V4L2_CID_AUTO_WHITE_BALANCE].value = 0; }},
        {"exposure manual, units in place", true, kExp, -6, kManual, S_OK,
         {{kMode, V4L2_EXPOSURE_MANUAL}}},
        {"shortest: 2.4 units to the minimum 3", true, kExp, -12, kManual, S_OK,
         {{kMode, V4L2_EXPOSURE_MANUAL}, {kExposure, 3}}},
        {"longest: 2500 units to the maximum 2047", true, kExp, -2, kManual, S_OK,
         {{kMode, V4L2_EXPOSURE_MANUAL}, {kExposure, 2047}}},
        {"exposure below the range", true, kExp, -13, kManual, E_INVALIDARG, {}},
        {"exposure auto: aperture priority", true, kExp, -6, kAuto, S_OK,
         {{kMode, V4L2_EXPOSURE_APERTURE_PRIORITY}},
         [](CFakeNode& n) { n.controls[V4L2_CID_EXPOSURE_AUTO].value = V4L2_EXPOSURE_MANUAL; }},
        {"exposure auto: full auto where the menu has no aperture priority", true, kExp, -6, kAuto,
         S_OK, {{kMode, V4L2_EXPOSURE_AUTO}},
         [](CFakeNode& n) {
             CFakeControl& mode = n.controls[V4L2_CID_EXPOSURE_AUTO];
             mode.value = mode.maximum = V4L2_EXPOSURE_MANUAL;
             mode.minimum = V4L2_EXPOSURE_AUTO;
         }},
        {"colour off: the black-and-white effect", false, kColour, 0, kManual, S_OK,
         {{V4L2_CID_COLORFX, V4L2_COLORFX_BW}}, colourMenu},
        {"the camera refuses", false, VideoProcAmp_Contrast, 50, kManual,
         HRESULT_FROM_WIN32(ERROR_IO_DEVICE), {{V4L2_CID_CONTRAST, 50}},
         [](CFakeNode& n) { n.controls[V4L2_CID_CONTRAST].writeErrno = EIO; }},
        {"original ioctls only", false, VideoProcAmp_Sharpness, 5, kManual, S_OK,
         {{V4L2_CID_SHARPNESS, 5}}, [](CFakeNode& n) { n.oldIoctlsOnly = true; }},
        {"focus: autofocus off first, then the raw value", true, CameraControl_Focus, 60, kManual,
         S_OK, {{V4L2_CID_FOCUS_AUTO, 0}, {V4L2_CID_FOCUS_ABSOLUTE, 60}}, AddFocusAndZoom},
        {"zoom: the raw value", true, CameraControl_Zoom, 300, kManual, S_OK,
         {{V4L2_CID_ZOOM_ABSOLUTE, 300}}, AddFocusAndZoom},
        {"focus default: the value, and auto where the companion's default is on", true,
         CameraControl_Focus, 100, kAuto, S_OK, {{V4L2_CID_FOCUS_AUTO, 1}},
         [](CFakeNode& n) {
             AddFocusAndZoom(n);
             n.controls[V4L2_CID_FOCUS_AUTO].value = 0;
         }, true},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        m_procAmp.Release();
        m_cameraControl.Release();
        m_kernel = std::make_shared<CFakeKernel>();
        AddUsbWebcam(*m_kernel, 0, "HD Webcam", "usb-1");
        // The aperture-priority-only menu refuses other modes, as uvcvideo does.
        m_kernel->Node(0).controls[V4L2_CID_EXPOSURE_AUTO].minimum = V4L2_EXPOSURE_MANUAL;
        if (c.prepare)
            c.prepare(m_kernel->Node(0));
        BindFirst();
        ASSERT_TRUE(m_procAmp && m_cameraControl);
        if (c.fromDefault) {
            PropertyDefault def;
            EXPECT_EQ(S_OK, GetPropertyDefault(m_cameraControl.Get(), c.property, &def));
            EXPECT_EQ(c.value, def.lValue);
            EXPECT_EQ(c.flags, def.lFlags);
        }
        const HRESULT hr = c.cameraControl ? m_cameraControl->Set(c.property, c.value, c.flags)
                                           : m_procAmp->Set(c.property, c.value, c.flags);
        EXPECT_EQ(hr, c.result);
        EXPECT_EQ(m_kernel->Writes(), c.writes);
        if (hr == S_OK && (c.flags & kManual)) {
            const Reading back = c.cameraControl ? Read(m_cameraControl.Get(), c.property)
                                                 : Read(m_procAmp.Get(), c.property);
            EXPECT_EQ(back.value, c.value);
            EXPECT_EQ(back.flags, kManual);
        }
    }
}

} // namespace
