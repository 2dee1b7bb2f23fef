// Drives VK37Set.exe end to end under Wine as a user would: through its
// windows, real key presses and the VK37.INI it writes, against the fake
// cameras. Usage: vk37_e2e_driver <VK37Set.exe> [GoogleTest options]
#include "tests/windows/e2e/session.h"
#include "tests/windows/fakecamera/expected.h"

#include <gmock/gmock.h>

#include <dbt.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>

namespace {

using testing::Contains;
using testing::ElementsAre;

// Pinned here rather than read from resource.h, so a renumbering shows.
constexpr int kComboId = 1001;
constexpr int kSaveId = 1002;
constexpr int kPropertiesId = 1003;
constexpr UINT kAboutCommand = 0x0010;
constexpr UINT kIconId = 129;

const char* const kSavedText = u8"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。";
const char* const kFailedText = u8"VK37摄像头参数保存失败。\n 无法写入'VK37.ini'文件。";

LRESULT Send(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, kTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Real key presses into the foreground window: pressed in order, released
// in reverse, as one chord.
void PressKeysIn(HWND hwnd, std::initializer_list<WORD> keys) {
    SetForegroundWindow(hwnd);
    ASSERT_TRUE(WaitUntil([hwnd] { return GetForegroundWindow() == hwnd; }))
        << "cannot bring " << Utf8(WindowText(hwnd)) << " to the front";
    std::vector<INPUT> inputs;
    for (DWORD up : {0, KEYEVENTF_KEYUP})
        for (size_t i = 0; i < keys.size(); ++i) {
            INPUT input = {};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = keys.begin()[up ? keys.size() - 1 - i : i];
            input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(input.ki.wVk, MAPVK_VK_TO_VSC));
            input.ki.dwFlags = up;
            inputs.push_back(input);
        }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

std::vector<std::string> ChildTexts(HWND parent) {
    std::vector<std::string> texts;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        texts.push_back(Utf8(WindowText(child)));
    return texts;
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    for (int i = 0, count = static_cast<int>(Send(combo, CB_GETCOUNT)); i < count; ++i) {
        std::wstring text(Send(combo, CB_GETLBTEXTLEN, i) + 1, L'\0');
        text.resize(Send(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text.data())));
        items.push_back(Utf8(text));
    }
    return items;
}

void ExpectCentredOver(HWND hwnd, const RECT& area) {
    RECT box;
    GetWindowRect(hwnd, &box);
    EXPECT_NEAR(box.left + box.right, area.left + area.right, 4) << Utf8(WindowText(hwnd));
    EXPECT_NEAR(box.top + box.bottom, area.top + area.bottom, 4) << Utf8(WindowText(hwnd));
}

// Posted, not sent: the click runs a modal message box inside it.
void ClickSave(const CProgramRun& run, int position) {
    Send(run.Item(kComboId), CB_SETCURSEL, position);
    PostMessageW(run.Item(kSaveId), BM_CLICK, 0, 0);
}

// The box a save ends with, modal over the dialog; dismissed with its OK.
void ExpectMessageBox(CProgramRun& run, const char* text, const char* icon) {
    const HWND box = run.WaitForOther();
    ASSERT_NE(box, nullptr) << "no message box appeared";
    EXPECT_EQ(Utf8(WindowText(box)), "VK37Set");
    EXPECT_EQ(Utf8(WindowText(GetDlgItem(box, 0xFFFF))), text);
    EXPECT_EQ(GetWindow(box, GW_OWNER), run.Dialog()) << "the box is not owned by the dialog";
    EXPECT_FALSE(IsWindowEnabled(run.Dialog())) << "the dialog stays usable under the box";
    ProbeReport report;
    ASSERT_TRUE(run.Probe(box, kIconId, report));
    EXPECT_STREQ(report.stockIcon >= 0 ? kStockIconNames[report.stockIcon] : "none", icon);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([box] { return !IsWindow(box); })) << "the message box stays open";
    EXPECT_TRUE(WaitUntil([&run] { return IsWindowEnabled(run.Dialog()) != FALSE; }));
}

void ExpectFile(const CProgramRun& run, int position) {
    std::string written;
    ASSERT_TRUE(ReadFileBytes(run.PathOf(L"VK37.INI"), written)) << "no VK37.INI";
    const bool exposure = fakecamera::kCameras[position].hasCameraControl;
    EXPECT_EQ(std::count(written.begin(), written.end(), '='), exposure ? 49 : 43);
    EXPECT_EQ(written, fakecamera::ExpectedParameterFile(position));
}

// Through its OK button: whatever came before, the program must end cleanly.
void ExpectCleanExit(CProgramRun& run) {
    PostMessageW(run.Item(IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(run.WaitForExit(0));
}

TEST(MainDialog, ListsTheCamerasInOrderCentredOnTheWorkArea) {
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    std::vector<std::string> names;
    for (const fakecamera::Camera& camera : fakecamera::kCameras)
        names.push_back(camera.nameReadable ? camera.name : u8"(未知设备)");
    const HWND combo = run.Item(kComboId);
    ASSERT_NE(combo, nullptr) << "no device list";
    EXPECT_EQ(GetWindowLongPtrW(combo, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(ComboItems(combo), names);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 0) << "the first camera is not selected";
    EXPECT_THAT(ChildTexts(run.Dialog()), Contains(u8"视频捕捉设备:"));
    EXPECT_EQ(Utf8(WindowText(run.Item(kSaveId))), u8"参数保存...");
    EXPECT_EQ(Utf8(WindowText(run.Item(kPropertiesId))), u8"属性(&P)...");
    EXPECT_EQ(Utf8(WindowText(run.Item(IDOK))), u8"确定");
    RECT workArea;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    ExpectCentredOver(run.Dialog(), workArea);
    ExpectCleanExit(run);
}

class SaveFromCamera : public testing::TestWithParam<int> {};

// Only a camera whose exposure was read gets the completion message.
TEST_P(SaveFromCamera, WritesItsFileAndReportsCompletionWhenExposureWasRead) {
    const int position = GetParam();
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    ClickSave(run, position);
    if (fakecamera::kCameras[position].hasCameraControl) {
        ExpectMessageBox(run, kSavedText, "exclamation");
    } else {
        ProbeReport report; // answered only once the click's handler has returned
        ASSERT_TRUE(run.Probe(run.Dialog(), kIconId, report));
        EXPECT_EQ(run.WaitForOther(L"#32770", 1500), nullptr) << "a message box appeared";
    }
    ExpectFile(run, position);
    EXPECT_THAT(ListDirectory(run.Directory()), ElementsAre("VK37.INI"));
    ExpectCleanExit(run);
}

INSTANTIATE_TEST_SUITE_P(FakeCameras, SaveFromCamera, testing::Range(0, fakecamera::kCameraCount));

TEST(SaveFailure, ReportsTheErrorAndKeepsWhatStandsInTheFilesPlace) {
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    const std::wstring blocker = run.PathOf(L"VK37.INI");
    ASSERT_TRUE(CreateDirectoryW(blocker.c_str(), nullptr));
    std::ofstream(std::filesystem::path(blocker + L"\\keep.txt"), std::ios::binary) << "kept\r\n";
    ClickSave(run, 0);
    ExpectMessageBox(run, kFailedText, "error");
    EXPECT_THAT(ListDirectory(run.Directory()), ElementsAre("VK37.INI"));
    EXPECT_THAT(ListDirectory(blocker), ElementsAre("keep.txt"));
    std::string kept;
    EXPECT_TRUE(ReadFileBytes(blocker + L"\\keep.txt", kept));
    EXPECT_EQ(kept, "kept\r\n");
    ExpectCleanExit(run);
}

// A fake camera taken off the system device enumerator's list, as if
// unplugged; registering the fake camera server again plugs it back in (the
// class keys, which name the server, stay).
class CUnpluggedCamera {
public:
    explicit CUnpluggedCamera(const char* clsid) : m_clsid(clsid, clsid + std::strlen(clsid)) {
        const std::wstring key = L"CLSID\\{860BB310-5D01-11d0-BD3B-00A0C911CE86}\\Instance\\";
        m_unplugged = RegDeleteTreeW(HKEY_CLASSES_ROOT, (key + m_clsid).c_str()) == ERROR_SUCCESS;
    }
    ~CUnpluggedCamera() { PlugIn(); }

    bool PlugIn() {
        wchar_t server[MAX_PATH] = {};
        LONG size = sizeof server;
        const std::wstring key = L"CLSID\\" + m_clsid + L"\\InprocServer32";
        HMODULE module = nullptr;
        if (m_unplugged &&
            RegQueryValueW(HKEY_CLASSES_ROOT, key.c_str(), server, &size) == ERROR_SUCCESS &&
            (module = LoadLibraryW(server)) != nullptr) {
            const auto registerServer = reinterpret_cast<HRESULT(STDAPICALLTYPE*)()>(
                reinterpret_cast<void (*)()>(GetProcAddress(module, "DllRegisterServer")));
            m_unplugged = registerServer == nullptr || FAILED(registerServer());
            FreeLibrary(module);
        }
        return !m_unplugged;
    }

private:
    std::wstring m_clsid;
    bool m_unplugged;
};

TEST(DeviceChange, APluggedInCameraCanBePickedAndSaved) {
    CUnpluggedCamera first(fakecamera::kCameras[0].clsid);
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    const HWND combo = run.Item(kComboId);
    ASSERT_EQ(Send(combo, CB_GETCOUNT), fakecamera::kCameraCount - 1);
    Send(combo, CB_SETCURSEL, 1); // the last camera
    ASSERT_TRUE(first.PlugIn());
    // Wine raises no notification for a filter that exists only in the
    // registry: the test sends the device interface arrival itself.
    DEV_BROADCAST_DEVICEINTERFACE_W arrival = {
        sizeof arrival, DBT_DEVTYP_DEVICEINTERFACE, 0, {}, {}};
    Send(run.Dialog(), WM_DEVICECHANGE, DBT_DEVICEARRIVAL, reinterpret_cast<LPARAM>(&arrival));
    ASSERT_EQ(Send(combo, CB_GETCOUNT), fakecamera::kCameraCount) << "the list stayed as it was";
    EXPECT_EQ(ComboItems(combo)[0], fakecamera::kCameras[0].name);
    EXPECT_EQ(Send(combo, CB_GETCURSEL), 2) << "the chosen camera is no longer chosen";
    ClickSave(run, 0);
    ExpectMessageBox(run, kSavedText, "exclamation");
    ExpectFile(run, 0);
    ExpectCleanExit(run);
}

// Alt+Space, then Up to the menu's last item. Not the item's mnemonic: under
// Wine the system menu's own "About Wine" entry takes A first.
void AboutByKeys(const CProgramRun& run) {
    PressKeysIn(run.Dialog(), {VK_MENU, VK_SPACE});
    ASSERT_NE(run.WaitForOther(L"#32768"), nullptr) << "Alt+Space opened no menu";
    PressKeysIn(run.Dialog(), {VK_UP});
    PressKeysIn(run.Dialog(), {VK_RETURN});
}

TEST(SystemMenu, EndsWithTheAboutEntryWhoseBoxOpensEveryTime) {
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    ProbeReport report;
    ASSERT_TRUE(run.Probe(run.Dialog(), kIconId, report));
    ASSERT_GE(report.menuCount, 2) << "no system menu";
    EXPECT_EQ(report.menu[report.menuCount - 2].type & MFT_SEPARATOR, UINT(MFT_SEPARATOR));
    EXPECT_EQ(report.menu[report.menuCount - 1].id, kAboutCommand);
    EXPECT_EQ(Utf8(report.menu[report.menuCount - 1].text), u8"关于 VK37Set(&A)...");

    struct Route {
        const char* name;
        void (*open)(const CProgramRun& run);
        void (*close)(HWND about);
    };
    const auto command = [](const CProgramRun& run) {
        PostMessageW(run.Dialog(), WM_SYSCOMMAND, kAboutCommand, 0);
    };
    const Route routes[] = {
        {"command, then OK", command,
         [](HWND about) { PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0); }},
        {"keys, then Esc", AboutByKeys, [](HWND about) { PressKeysIn(about, {VK_ESCAPE}); }},
        {"command, then Enter", command, [](HWND about) { PressKeysIn(about, {VK_RETURN}); }},
    };
    for (const Route& route : routes) {
        SCOPED_TRACE(route.name);
        RECT main;
        GetWindowRect(run.Dialog(), &main);
        route.open(run);
        const HWND about = run.WaitForOther();
        ASSERT_NE(about, nullptr) << "no About box";
        EXPECT_EQ(Utf8(WindowText(about)), u8"关于 VK37Set");
        EXPECT_THAT(ChildTexts(about), Contains(u8"VK37Set 1.0 版"));
        EXPECT_EQ(GetWindow(about, GW_OWNER), run.Dialog());
        EXPECT_FALSE(IsWindowEnabled(run.Dialog())) << "the dialog stays usable under About";
        ExpectCentredOver(about, main);
        route.close(about);
        ASSERT_TRUE(WaitUntil([about] { return !IsWindow(about); })) << "About stays open";
        EXPECT_TRUE(WaitUntil([&run] { return IsWindowEnabled(run.Dialog()) != FALSE; }));
    }
    ExpectCleanExit(run);
}

// Run by e2e_en with Wine in an English locale (VK37_WINE_LOCALE), which
// makes English the display language; e2e runs the others, in Chinese.
TEST(English, EveryTextIsTheScriptsEnglish) {
    CProgramRun run;
    ASSERT_TRUE(run.Start(L"Save Camera Parameters"));
    EXPECT_THAT(ChildTexts(run.Dialog()), Contains("Video capture device:"));
    EXPECT_EQ(Utf8(WindowText(run.Item(kSaveId))), "Save Parameters...");
    EXPECT_EQ(Utf8(WindowText(run.Item(kPropertiesId))), "&Properties...");
    EXPECT_EQ(Utf8(WindowText(run.Item(IDOK))), "OK");
    EXPECT_THAT(ComboItems(run.Item(kComboId)), Contains("(unknown device)"));
    ProbeReport report;
    ASSERT_TRUE(run.Probe(run.Dialog(), kIconId, report));
    EXPECT_EQ(Utf8(report.menu[report.menuCount - 1].text), "&About VK37Set...");
    ClickSave(run, 0);
    ExpectMessageBox(run,
                     "VK37 camera parameters saved.\n See the file 'VK37.ini' for their values.",
                     "exclamation");
    ExpectCleanExit(run);
}

// LogPixels, read as each program starts; the test prefix has none of its own.
struct CSystemDpi {
    explicit CSystemDpi(DWORD dpi) {
        RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD, &dpi,
                        sizeof dpi);
    }
    ~CSystemDpi() {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels");
    }
};

// At 96, 144 and 192 DPI the window's icons and the About box's picture come
// in the sizes Windows draws them at, each an image the icon holds.
TEST(HighDpi, IconsFitTheSystemsIconSizes) {
    for (const int dpi : {96, 144, 192}) {
        SCOPED_TRACE(dpi);
        CSystemDpi setting(dpi);
        CProgramRun run;
        ASSERT_TRUE(run.Start());
        ProbeReport report, aboutReport;
        ASSERT_TRUE(run.Probe(run.Dialog(), kIconId, report));
        EXPECT_EQ(report.bigIconWidth, 32 * dpi / 96);
        EXPECT_EQ(report.smallIconWidth, 16 * dpi / 96);
        PostMessageW(run.Dialog(), WM_SYSCOMMAND, kAboutCommand, 0);
        const HWND about = run.WaitForOther();
        ASSERT_NE(about, nullptr) << "no About box";
        ASSERT_TRUE(run.Probe(about, kIconId, aboutReport));
        EXPECT_EQ(aboutReport.pictureWidth, 32 * dpi / 96);
        PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitUntil([about] { return !IsWindow(about); })) << "About stays open";
        ExpectCleanExit(run);
    }
}

// Minimised, the window's client area is empty (in Wine as in Windows), so
// the icon OnPaint draws there cannot reach the screen; what the window
// answers can be checked, and that it survives the paint.
TEST(Minimised, AnswersWithItsIconAndWorksAgainWhenRestored) {
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    RECT before, after;
    GetWindowRect(run.Dialog(), &before);
    PostMessageW(run.Dialog(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&run] { return IsIconic(run.Dialog()) != FALSE; })) << "not minimised";
    RedrawWindow(run.Dialog(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE | RDW_FRAME);
    ProbeReport report;
    ASSERT_TRUE(run.Probe(run.Dialog(), kIconId, report));
    EXPECT_NE(report.bigIcon, 0);
    EXPECT_EQ(report.bigIcon, report.programIcon) << "not the program's own icon";
    EXPECT_NE(report.smallIcon, 0);
    EXPECT_EQ(report.dragIcon, report.bigIcon);

    PostMessageW(run.Dialog(), WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(WaitUntil([&run] { return !IsIconic(run.Dialog()); })) << "not restored";
    GetWindowRect(run.Dialog(), &after);
    EXPECT_TRUE(EqualRect(&before, &after)) << "restored to another place";
    ClickSave(run, 0);
    ExpectMessageBox(run, kSavedText, "exclamation");
    ExpectFile(run, 0);
    ExpectCleanExit(run);
}

// 属性 by its access key: the camera with a page (the first) gets the
// system's frame, which reaches the page with its filter; one without, a box.
TEST(Properties, FrameWithTheCamerasFilterOrABoxWithoutPages) {
    const std::filesystem::path log = std::filesystem::temp_directory_path() / "vk37-page.log";
    std::filesystem::remove(log);
    SetEnvironmentVariableW(L"VK37_FAKECAMERA_SETLOG", log.wstring().c_str());
    CProgramRun run;
    ASSERT_TRUE(run.Start());
    SetEnvironmentVariableW(L"VK37_FAKECAMERA_SETLOG", nullptr);
    PressKeysIn(run.Dialog(), {VK_MENU, 'P'});
    const HWND frame = run.WaitForOther();
    ASSERT_NE(frame, nullptr) << "no property frame";
    EXPECT_THAT(Utf8(WindowText(frame)), testing::HasSubstr(fakecamera::kCameras[0].name));
    std::string logged;
    EXPECT_TRUE(WaitUntil([&] { return ReadFileBytes(log.wstring(), logged) && !logged.empty(); }));
    EXPECT_EQ(logged, std::string(fakecamera::kCameras[0].name) + "\tpage\t1\t0\t0\n");
    EXPECT_FALSE(IsWindowEnabled(run.Dialog())) << "the dialog takes input under the frame";
    PressKeysIn(frame, {VK_ESCAPE});
    // The frame's call returns about two seconds after the frame closed.
    EXPECT_TRUE(WaitUntil([&run] { return IsWindowEnabled(run.Dialog()) != FALSE; }));
    EXPECT_FALSE(IsWindow(frame)) << "Esc left the frame open";
    Send(run.Item(kComboId), CB_SETCURSEL, 1);
    PostMessageW(run.Item(kPropertiesId), BM_CLICK, 0, 0);
    ExpectMessageBox(run, u8"所选摄像头没有可显示的属性页。", "error");
    std::filesystem::remove(log);
    ExpectCleanExit(run);
}

TEST(Exit, EachWayEndsWithStatusZeroAndWritesNothing) {
    const struct {
        const char* name;
        void (*end)(const CProgramRun& run);
    } routes[] = {
        {"Esc", [](const CProgramRun& run) { PressKeysIn(run.Dialog(), {VK_ESCAPE}); }},
        {"OK", [](const CProgramRun& run) { PostMessageW(run.Item(IDOK), BM_CLICK, 0, 0); }},
        {"close button",
         [](const CProgramRun& run) { PostMessageW(run.Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.name);
        CProgramRun run;
        ASSERT_TRUE(run.Start());
        route.end(run);
        EXPECT_TRUE(run.WaitForExit(0));
        EXPECT_THAT(ListDirectory(run.Directory()), testing::IsEmpty());
    }
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleMock(&argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vk37_e2e_driver <VK37Set.exe> [GoogleTest options]\n");
        return 2;
    }
    CProgramRun::SetProgram(argv[1]);
    return RUN_ALL_TESTS();
}
