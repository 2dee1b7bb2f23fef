// SaveParameters end to end on fake cameras: what lands in VK37.INI, in which
// order, when the run stops early, and which message the user sees.
#include "capture/saveparameters.h"
#include "fakecamera.h"
#include "fixture.h"
#include "platform/framework.h"

#include <algorithm>
#include <map>
#include <string>

#ifndef _WIN32
#include "tests/platform/linux/profile/syncspy.h"
#endif

using ::testing::_;
using ::testing::NiceMock;
using ::testing::Return;

namespace {

class SaveParametersTest : public CaptureTest {
protected:
    CFakeCamera m_zeta{L"Zeta", 0};
    CFakeCamera m_alpha{L"Alpha", 1000};

    void SetUp() override {
        CaptureTest::SetUp();
        m_devEnum.devices = {&m_zeta.moniker, &m_alpha.moniker};
    }

    void ExpectSavedMessageOnce() {
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].text,
                  L"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。");
        EXPECT_EQ(m_messages[0].type, 0u);
        EXPECT_EQ(m_messages[0].helpId, 0u);
    }
};

TEST_F(SaveParametersTest, FreshSaveWritesNineSectionsInOrderAndTellsTheUserOnce) {
    {
        CCaptureDevice device;
        SaveParameters(device, 1);
    }
    // Byte for byte what the system's profile writer makes of a fresh file:
    // no byte order mark, no blank lines, CRLF after every line. The Linux
    // writer and Windows' own must agree here.
    std::string bytes;
    for (const std::string& line : ExpectedFile(1, m_alpha, true))
        bytes += line + "\r\n";
    EXPECT_EQ(IniBytes(), bytes);
    ExpectSavedMessageOnce();
}

TEST_F(SaveParametersTest, PropertiesAreReadInFileOrderThroughTheRightInterface) {
    ::testing::InSequence order;
    for (LONG id : {0, 1, 2, 3, 4, 6, 7}) {
        EXPECT_CALL(m_zeta.procAmp, GetRange(id, _, _, _, _, _));
        EXPECT_CALL(m_zeta.procAmp, Get(id, _, _));
    }
    EXPECT_CALL(m_zeta.camera, GetRange(CameraControl_Exposure, _, _, _, _, _));
    EXPECT_CALL(m_zeta.camera, Get(CameraControl_Exposure, _, _));
    CCaptureDevice device;
    SaveParameters(device, 0);
}

TEST_F(SaveParametersTest, UnreadablePropertyGetsSixEmptyValuesAndNegativesKeepTheirSign) {
    m_zeta.procAmpProps.erase(VideoProcAmp_Sharpness);
    m_zeta.procAmpProps[VideoProcAmp_Brightness] = {-10, 10, 2, -4, 3, -2, 2};
    {
        CCaptureDevice device;
        SaveParameters(device, 0);
    }
    const auto lines = IniContent();
    EXPECT_EQ(lines, ExpectedFile(0, m_zeta, true));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "V_PMIN=-10"), lines.end());
    ExpectSavedMessageOnce();
}

TEST_F(SaveParametersTest, CapsFlagsComeFromTheValueQueryNotTheRange) {
    m_zeta.procAmpProps[VideoProcAmp_Hue].capsFlags = 3;
    m_zeta.procAmpProps[VideoProcAmp_Hue].flags = VideoProcAmp_Flags_Manual;
    CCaptureDevice device;
    SaveParameters(device, 0);
    const auto lines = IniLines();
    auto hue = std::find(lines.begin(), lines.end(), "[HUE]");
    ASSERT_NE(hue, lines.end());
    EXPECT_EQ(*(hue + 5), "V_PCAPSFLAGS=2");
}

TEST_F(SaveParametersTest, RangeQueryAnsweringSFalseStillRecordsTheValue) {
    ON_CALL(m_zeta.procAmp, GetRange(VideoProcAmp_Contrast, _, _, _, _, _))
        .WillByDefault(Return(S_FALSE));
    EXPECT_CALL(m_zeta.procAmp, Get(_, _, _)).Times(::testing::AnyNumber());
    EXPECT_CALL(m_zeta.procAmp, Get(VideoProcAmp_Contrast, _, _));
    CCaptureDevice device;
    SaveParameters(device, 0);
    const auto lines = IniLines();
    auto contrast = std::find(lines.begin(), lines.end(), "[CONTRAST]");
    ASSERT_NE(contrast, lines.end());
    // The range values stay zero (the query filled nothing); the value is recorded.
    EXPECT_EQ(*(contrast + 1), "V_PMIN=0");
    EXPECT_EQ(*(contrast + 6), "V_LVALUE=61");
}

TEST_F(SaveParametersTest, NothingIsWrittenWhenTheDeviceCannotBeReachedAndAListedOneIsTold) {
    m_alpha.filter.procAmp = nullptr; // a device without the amplifier
    m_zeta.moniker.bindResult = HRESULT_FROM_WIN32(ERROR_DEV_NOT_EXIST);
    const struct {
        int position;
        bool told; // a listed camera that cannot be opened
    } cases[] = {{-1, false}, {0, true}, {1, true}, {2, false}};
    CCaptureDevice device;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.position);
        m_messages.clear();
        SaveParameters(device, c.position);
        EXPECT_FALSE(IniExists());
        if (!c.told) {
            EXPECT_TRUE(m_messages.empty());
            continue;
        }
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].text, L"VK37摄像头参数未保存。\n 无法打开所选摄像头。");
        EXPECT_EQ(m_messages[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
}

TEST_F(SaveParametersTest, WithoutCameraControlEightSectionsAndNoMessage) {
    m_zeta.filter.cameraControl = nullptr;
    {
        CCaptureDevice device;
        SaveParameters(device, 0);
    }
    EXPECT_EQ(IniContent(), ExpectedFile(0, m_zeta, false));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SaveParametersTest, UnreadableExposureGetsEmptyValuesAndNoMessage) {
    m_zeta.cameraProps.clear();
    {
        CCaptureDevice device;
        SaveParameters(device, 0);
    }
    EXPECT_EQ(IniContent(), ExpectedFile(0, m_zeta, true));
    EXPECT_TRUE(m_messages.empty());
}

TEST_F(SaveParametersTest, SecondSaveReplacesValuesInPlaceAndKeepsWhatItDoesNotReach) {
    {
        CCaptureDevice device;
        SaveParameters(device, 0);
        m_alpha.filter.cameraControl = nullptr;
        SaveParameters(device, 1);
    }
    auto expected = ExpectedFile(1, m_alpha, false);
    auto exposure = Section("EXPOSURE", CFakeCamera::Find(m_zeta.cameraProps, 4));
    expected.insert(expected.end(), exposure.begin(), exposure.end());
    EXPECT_EQ(IniContent(), expected);
    EXPECT_EQ(m_messages.size(), 1u) << "only the first save read exposure";
}

TEST_F(SaveParametersTest, EachSaveUsesAFreshEnumeration) {
    CCaptureDevice device;
    SaveParameters(device, 1);
    // The second camera is unplugged: position 1 now names nothing.
    m_devEnum.devices = {&m_zeta.moniker};
    std::filesystem::remove(IniPath());
    SaveParameters(device, 1);
    EXPECT_FALSE(IniExists());
    EXPECT_EQ(device.DeviceCount(), 1);
}

TEST_F(SaveParametersTest, TheChosenDeviceIsFoundByItsIdInTheFreshList) {
    // The list was [Zeta, Alpha] when the user chose; the save sees another.
    const struct {
        const char* change;
        int position;
        const wchar_t* id;
        std::vector<fakes::CFakeMoniker*> now;
        SaveOutcome outcome;
        int port; // -1: nothing written
        const CFakeCamera* saved;
    } cases[] = {
        {"unchanged",
         1,
         L"@fake\\Alpha",
         {&m_zeta.moniker, &m_alpha.moniker},
         SaveOutcome::Saved,
         1,
         &m_alpha},
        {"moved up", 1, L"@fake\\Alpha", {&m_alpha.moniker}, SaveOutcome::DeviceMoved, 0, &m_alpha},
        {"moved down",
         0,
         L"@fake\\Zeta",
         {&m_alpha.moniker, &m_zeta.moniker},
         SaveOutcome::DeviceMoved,
         1,
         &m_zeta},
        {"gone, another in its place",
         0,
         L"@fake\\Zeta",
         {&m_alpha.moniker},
         SaveOutcome::DeviceGone,
         -1,
         nullptr},
        {"gone, list empty", 1, L"@fake\\Alpha", {}, SaveOutcome::DeviceGone, -1, nullptr},
        {"no id: by position", 0, L"", {&m_alpha.moniker}, SaveOutcome::Saved, 0, &m_alpha},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        m_messages.clear();
        std::filesystem::remove(IniPath());
        m_devEnum.devices.assign(c.now.begin(), c.now.end());
        {
            CCaptureDevice device;
            EXPECT_EQ(SaveParameters(device, c.position, c.id), c.outcome);
        }
        if (c.saved == nullptr) {
            EXPECT_FALSE(IniExists());
            EXPECT_TRUE(m_messages.empty());
        } else {
            EXPECT_EQ(IniContent(), ExpectedFile(c.port, *c.saved, true));
            ExpectSavedMessageOnce();
        }
    }
}

TEST_F(SaveParametersTest, FailedBindKeepsThePreviousInterfacesUntilTheHolderGoes) {
    CCaptureDevice device;
    SaveParameters(device, 0);
    EXPECT_EQ(m_zeta.filter.Refs(), 1u);
    EXPECT_EQ(m_zeta.procAmp.Refs(), 1u);
    EXPECT_EQ(m_zeta.camera.Refs(), 1u);

    m_alpha.moniker.bindResult = E_FAIL;
    SaveParameters(device, 1);
    EXPECT_EQ(m_zeta.filter.Refs(), 0u) << "the filter slot is emptied before binding";
    EXPECT_EQ(m_zeta.procAmp.Refs(), 1u);
    EXPECT_EQ(m_zeta.camera.Refs(), 1u);

    // Saving the same device again replaces, rather than adds to, the references.
    SaveParameters(device, 0);
    EXPECT_EQ(m_zeta.filter.Refs(), 1u);
    EXPECT_EQ(m_zeta.procAmp.Refs(), 1u);
    EXPECT_EQ(m_zeta.camera.Refs(), 1u);
}

TEST_F(SaveParametersTest, SavesIntoTheCurrentDirectory) {
    const auto other = m_dir / "elsewhere";
    std::filesystem::create_directory(other);
    std::filesystem::current_path(other);
    CCaptureDevice device;
    SaveParameters(device, 0);
    EXPECT_TRUE(std::filesystem::exists(other / "VK37.INI"));
    EXPECT_FALSE(IniExists());
}

TEST_F(SaveParametersTest, AFileThatCannotBeWrittenIsReportedInsteadOfSuccess) {
    std::filesystem::create_directory(IniPath()); // a directory where the file should be
    // The very first write fails; the run still reads every property after
    // it, since reads and writes take turns.
    EXPECT_CALL(m_zeta.procAmp, GetRange(_, _, _, _, _, _)).Times(7);
    EXPECT_CALL(m_zeta.procAmp, Get(_, _, _)).Times(7);
    EXPECT_CALL(m_zeta.camera, Get(CameraControl_Exposure, _, _)).Times(1);
    CCaptureDevice device;
    SaveParameters(device, 0);
    ASSERT_EQ(m_messages.size(), 1u);
    EXPECT_EQ(m_messages[0].text, L"VK37摄像头参数保存失败。\n 无法写入'VK37.ini'文件。");
    EXPECT_EQ(m_messages[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    EXPECT_TRUE(std::filesystem::is_directory(IniPath()));
}

TEST_F(SaveParametersTest, WriteFailureIsReportedEvenWhenExposureIsNotRead) {
    // Without exposure there is no completion message, but a failed write
    // must still be told: the user would otherwise think the file is written.
    const struct {
        const char* camera;
        bool hasCameraControl;
    } cases[] = {{"no camera control", false}, {"unreadable exposure", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.camera);
        m_messages.clear();
        std::filesystem::create_directory(IniPath());
        m_zeta.cameraProps.clear();
        m_zeta.filter.cameraControl = c.hasCameraControl ? &m_zeta.camera : nullptr;
        {
            CCaptureDevice device;
            SaveParameters(device, 0);
        }
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].text, L"VK37摄像头参数保存失败。\n 无法写入'VK37.ini'文件。");
        EXPECT_EQ(m_messages[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    }
}

#ifndef _WIN32
// The save ends with the flush request. Windows answers it with FALSE and
// no error, which the tests under Wine check through the saved message
// above; the Linux writer's flush can also fail, which must be told.
TEST_F(SaveParametersTest, TheSaveEndsWithTheFlushAndAFailedFlushIsReported) {
    profile::CStoreHooks& hooks = profile::StoreHooks();
    const profile::CStoreHooks saved = hooks;
    ASSERT_EQ(profile::FlushPendingDirectories(), ERROR_SUCCESS); // earlier tests' renames
    hooks.sync = CSyncSpy::Sync;
    const struct {
        int directoryError;
        const wchar_t* message;
    } cases[] = {{0, L"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。"},
                 {EIO, L"VK37摄像头参数保存失败。\n 无法写入'VK37.ini'文件。"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.directoryError);
        CSyncSpy::Reset(c.directoryError);
        m_messages.clear();
        CCaptureDevice device;
        SaveParameters(device, 0);
        EXPECT_EQ(CSyncSpy::directorySyncs, 1);
        ASSERT_EQ(m_messages.size(), 1u);
        EXPECT_EQ(m_messages[0].text, c.message);
        m_zeta.procAmpProps[VideoProcAmp_Brightness].value += 1; // a change to write next time
    }
    hooks = saved;
    CSyncSpy::Reset(0);
}
#endif

} // namespace
