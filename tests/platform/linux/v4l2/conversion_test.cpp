// The pure pieces of the camera source: errno mapping, value conversions,
// name decoding and the capture-node test.
#include "platform/linux/v4l2/capabilities.h"
#include "platform/linux/v4l2/conversion.h"
#include "platform/linux/errno_mapping.h"
#include "platform/linux/v4l2/friendlyname.h"
#include "platform/linux/v4l2/nodes.h"
#include "platform/linux/v4l2/utf8.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>

namespace {

TEST(ErrnoMapping, GroupsErrorsByWhatTheCallerCanDoAboutThem) {
    const HRESULT gone = HRESULT_FROM_WIN32(ERROR_DEVICE_NOT_CONNECTED);
    EXPECT_EQ(HResultFromErrno(0), S_OK);
    EXPECT_EQ(HResultFromErrno(ENODEV), gone);
    EXPECT_EQ(HResultFromErrno(ENXIO), gone);
    EXPECT_EQ(HResultFromErrno(ENOENT), HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(HResultFromErrno(EACCES), E_ACCESSDENIED);
    EXPECT_EQ(HResultFromErrno(EPERM), E_ACCESSDENIED);
    EXPECT_EQ(HResultFromErrno(EBUSY), HRESULT_FROM_WIN32(ERROR_BUSY));
    EXPECT_EQ(HResultFromErrno(EIO), HRESULT_FROM_WIN32(ERROR_IO_DEVICE));
    EXPECT_EQ(HResultFromErrno(EINVAL), E_INVALIDARG);
    EXPECT_EQ(HResultFromErrno(ENOMEM), E_OUTOFMEMORY);
    EXPECT_EQ(HResultFromErrno(ENOTTY), HRESULT_FROM_WIN32(ERROR_NOT_SUPPORTED));
    EXPECT_EQ(HResultFromErrno(EAGAIN), HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION));
    EXPECT_EQ(Win32ErrorFromErrno(ENOSPC), ERROR_DISK_FULL);
    EXPECT_EQ(Win32ErrorFromErrno(EROFS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(HResultFromErrno(12345), E_FAIL);
    // Every failure must read as a failure to callers that test FAILED().
    for (int error = 1; error < 140; ++error)
        EXPECT_TRUE(FAILED(HResultFromErrno(error))) << error;
}

TEST(ExposureConversion, RoundsLog2OfSecondsToNearest) {
    EXPECT_EQ(ExposureToLog2Seconds(156), -6);  // 15.6 ms: log2 = -6.002
    EXPECT_EQ(ExposureToLog2Seconds(10000), 0); // one second
    EXPECT_EQ(ExposureToLog2Seconds(20000), 1);
    EXPECT_EQ(ExposureToLog2Seconds(5000), -1);
    EXPECT_EQ(ExposureToLog2Seconds(1), -13);   // 100 µs: log2 = -13.29
    EXPECT_EQ(ExposureToLog2Seconds(3), -12);   // -11.70 rounds up
    EXPECT_EQ(ExposureToLog2Seconds(2047), -2); // -2.29 rounds up
    EXPECT_EQ(ExposureToLog2Seconds(14142), 0); // just under log2 = 0.5
    EXPECT_EQ(ExposureToLog2Seconds(14143), 1); // just over it
}

TEST(ExposureConversion, ZeroAndNegativeCountAsTheSmallestExposure) {
    EXPECT_EQ(ExposureToLog2Seconds(0), ExposureToLog2Seconds(1));
    EXPECT_EQ(ExposureToLog2Seconds(-5), ExposureToLog2Seconds(1));
    EXPECT_EQ(ExposureToLog2Seconds(std::numeric_limits<int64_t>::min()), -13);
}

// Back to units: 10000 * 2^v, onto the control's steps, preferring a value
// that reads back as v.
TEST(ExposureConversion, Log2SecondsGoBackToTheNearestAllowedUnits) {
    const struct {
        LONG log2Seconds;
        int64_t min, max;
        uint64_t step;
        int64_t units;
    } cases[] = {
        {-6, 3, 2047, 1, 156},   // 156.25
        {-13, 1, 100, 1, 1},     // 1.22: 1 reads back as -13, 2 as -12
        {-12, 3, 2047, 1, 3},    // 2.44 is below the range
        {-2, 3, 2047, 1, 2047},  // 2500 is above it
        {-6, 0, 1000, 10, 160},  // 150 and 160 both read -6; 160 is nearer
        {-7, 50, 1010, 60, 110}, // 78.1: 50 is nearer but reads -8, 110 reads -7
        {-2147483647 - 1, 3, 2047, 1, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ExposureFromLog2Seconds(c.log2Seconds, c.min, c.max, c.step), c.units)
            << c.log2Seconds << " in " << c.min << ".." << c.max << " step " << c.step;
}

TEST(ExposureConversion, HugeValuesStayFinite) {
    EXPECT_EQ(ExposureToLog2Seconds(std::numeric_limits<int32_t>::max()), 18);
    EXPECT_EQ(ExposureToLog2Seconds(std::numeric_limits<int64_t>::max()), 50);
}

TEST(ValueConversion, ClampsToLongRange) {
    EXPECT_EQ(ClampToLong(int64_t{-7}), -7);
    EXPECT_EQ(ClampToLong(int64_t{1} << 40), std::numeric_limits<LONG>::max());
    EXPECT_EQ(ClampToLong(-(int64_t{1} << 40)), std::numeric_limits<LONG>::min());
    EXPECT_EQ(ClampToLong(uint64_t{5}), 5);
    EXPECT_EQ(ClampToLong(std::numeric_limits<uint64_t>::max()), std::numeric_limits<LONG>::max());
}

TEST(ValueConversion, ColourIsOffOnlyForBlackAndWhite) {
    EXPECT_EQ(ColorEnableFromEffect(V4L2_COLORFX_BW), 0);
    EXPECT_EQ(ColorEnableFromEffect(V4L2_COLORFX_NONE), 1);
    EXPECT_EQ(ColorEnableFromEffect(V4L2_COLORFX_SEPIA), 1);
}

TEST(Utf8, DecodesValidTextToCodePoints) {
    std::wstring text;
    ASSERT_TRUE(DecodeUtf8("Cam \xC3\xA9\xE6\x91\x84\xF0\x9F\x93\xB7", &text));
    EXPECT_EQ(text, std::wstring(L"Cam \u00E9\u6444") + wchar_t(0x1F4F7));
    ASSERT_TRUE(DecodeUtf8("", &text));
    EXPECT_TRUE(text.empty());
}

TEST(Utf8, RejectsMalformedSequences) {
    const char* bad[] = {
        "\xC3",             // cut off
        "\xE6\x91",         // cut off
        "\x80",             // continuation without a lead
        "\xC0\xAF",         // overlong '/'
        "\xE0\x80\xAF",     // overlong
        "\xED\xA0\x80",     // surrogate
        "\xF4\x90\x80\x80", // past U+10FFFF
        "\xFF",             // never valid
        "ok\xC3(",          // bad continuation
    };
    for (const char* bytes : bad) {
        std::wstring text = L"stale";
        EXPECT_FALSE(DecodeUtf8(bytes, &text)) << bytes;
        EXPECT_TRUE(text.empty());
    }
}

TEST(FriendlyName, FallsBackFromCardToSysfsToPath) {
    EXPECT_EQ(ChooseFriendlyName("USB Camera", "sysfs name\n", "/dev/video0"), L"USB Camera");
    EXPECT_EQ(ChooseFriendlyName("   ", "sysfs name\n", "/dev/video0"), L"sysfs name");
    EXPECT_EQ(ChooseFriendlyName("bad \xFF", "sysfs name\n", "/dev/video0"), L"sysfs name");
    EXPECT_EQ(ChooseFriendlyName("", "", "/dev/video3"), L"/dev/video3");
    EXPECT_EQ(ChooseFriendlyName("", "\xC3\n", "/dev/video3"), L"/dev/video3");
}

v4l2_capability Caps(uint32_t capabilities, uint32_t deviceCaps, const char* card, size_t length) {
    v4l2_capability caps;
    std::memset(&caps, 0, sizeof caps);
    caps.capabilities = capabilities;
    caps.device_caps = deviceCaps;
    std::memcpy(caps.card, card, length);
    return caps;
}

TEST(CardName, StopsAtTheFieldEndWithoutTerminator) {
    // bus_info follows card directly: reading on would pick up its bytes.
    v4l2_capability caps = Caps(0, 0, "0123456789abcdefghijklmnopqrstuv", 32);
    std::memset(caps.bus_info, 'Z', sizeof caps.bus_info);
    EXPECT_EQ(CardName(caps), "0123456789abcdefghijklmnopqrstuv");
}

TEST(CardName, StopsAtNulAndDropsTrailingBlanks) {
    EXPECT_EQ(CardName(Caps(0, 0, "Cam  \t\0garbage", 15)), "Cam");
    EXPECT_EQ(CardName(Caps(0, 0, "  ", 2)), "");
}

TEST(CaptureNode, JudgesTheNodeNotTheDevice) {
    const uint32_t device = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_META_CAPTURE | V4L2_CAP_DEVICE_CAPS;
    EXPECT_TRUE(IsCaptureNode(Caps(device, V4L2_CAP_VIDEO_CAPTURE, "", 0)));
    EXPECT_TRUE(IsCaptureNode(Caps(device, V4L2_CAP_VIDEO_CAPTURE_MPLANE, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(device, V4L2_CAP_META_CAPTURE, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(device, V4L2_CAP_VBI_CAPTURE, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(device, V4L2_CAP_VIDEO_OUTPUT, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(device, V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_TOUCH, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(device, V4L2_CAP_VIDEO_M2M, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(device, V4L2_CAP_RADIO | V4L2_CAP_TUNER, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(device, V4L2_CAP_SDR_CAPTURE, "", 0)));
    // Without V4L2_CAP_DEVICE_CAPS only the device-wide word exists.
    EXPECT_TRUE(IsCaptureNode(Caps(V4L2_CAP_VIDEO_CAPTURE, 0, "", 0)));
    EXPECT_FALSE(IsCaptureNode(Caps(V4L2_CAP_VBI_CAPTURE, V4L2_CAP_VIDEO_CAPTURE, "", 0)));
}

TEST(NodeNames, OnlyPlainVideoNumbersAreNodes) {
    EXPECT_EQ(VideoNodeNumber("video0"), 0);
    EXPECT_EQ(VideoNodeNumber("video10"), 10);
    EXPECT_EQ(VideoNodeNumber("video"), -1);
    EXPECT_EQ(VideoNodeNumber("video01"), -1);
    EXPECT_EQ(VideoNodeNumber("video1a"), -1);
    EXPECT_EQ(VideoNodeNumber("video-1"), -1);
    EXPECT_EQ(VideoNodeNumber("vbi0"), -1);
    EXPECT_EQ(VideoNodeNumber("video12345678901"), -1);
}

} // namespace
