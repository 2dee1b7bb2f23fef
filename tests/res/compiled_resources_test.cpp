// The resource script as the Windows resource compiler builds it: this test
// program links the same compiled resources as the program, and reads them
// back through the system's own resource calls, in each of its languages.
#include "res/resource.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring OwnPath() {
    wchar_t path[MAX_PATH] = {};
    return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
}

constexpr WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
constexpr WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// The bytes of one resource of this program, in language, or empty.
std::string Resource(LPCWSTR type, int id, WORD language = LANG_NEUTRAL) {
    HRSRC found = language == LANG_NEUTRAL
                      ? FindResourceW(nullptr, MAKEINTRESOURCEW(id), type)
                      : FindResourceExW(nullptr, type, MAKEINTRESOURCEW(id), language);
    if (found == nullptr)
        return {};
    const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
    return std::string(data, SizeofResource(nullptr, found));
}

std::wstring VersionString(const std::vector<BYTE>& info, const std::wstring& name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring path = L"\\StringFileInfo\\080403a8\\" + name;
    if (!VerQueryValueW(info.data(), path.c_str(), &value, &length) || length == 0)
        return L"(missing)";
    return static_cast<const wchar_t*>(value);
}

} // namespace

TEST(CompiledResources, VersionRecordNamesTheProgramAndItsVersion) {
    const std::wstring path = OwnPath();
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path.c_str(), nullptr));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000001u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000001u);

    const struct {
        const wchar_t* name;
        const wchar_t* value;
    } strings[] = {
        {L"InternalName", L"VK37Set.exe"},
        {L"OriginalFilename", L"VK37Set.exe"},
        {L"FileVersion", L"1.0.0.1"},
        {L"ProductVersion", L"1.0.0.1"},
        {L"FileDescription", L"摄像头参数保存"},
        {L"ProductName", L"VK37Set"},
    };
    for (const auto& s : strings)
        EXPECT_EQ(VersionString(info, s.name), s.value) << s.name;

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translation), &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0804); // Chinese (PRC)
    EXPECT_EQ(translation[1], 936);
}

TEST(CompiledResources, ManifestAsksForCommonControls6AndSystemDpiAwareness) {
    const std::string manifest = Resource(RT_MANIFEST, 1);
    ASSERT_FALSE(manifest.empty());
    for (const char* needle : {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
                               "publicKeyToken=\"6595b64144ccf1df\"", ">true</dpiAware>",
                               ">system</dpiAwareness>", "level=\"asInvoker\""})
        EXPECT_NE(manifest.find(needle), std::string::npos) << needle;
}

TEST(CompiledResources, StringTableAndIconGroup) {
    wchar_t text[64] = {};
    ASSERT_GT(LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUTBOX, text, 64), 0);
    EXPECT_STREQ(text, L"关于 VK37Set(&A)...");

    // Every size the windows ask for at 96, 144 and 192 DPI, and 256 (as 0).
    const std::string group = Resource(RT_GROUP_ICON, IDI_APP_ICON);
    ASSERT_GE(group.size(), 6u + 7 * 14u);
    const auto* bytes = reinterpret_cast<const unsigned char*>(group.data());
    ASSERT_EQ(bytes[4], 7);
    const struct {
        int width, height, colours, bits;
    } images[] = {{32, 32, 16, 4}, {16, 16, 0, 8},  {32, 32, 0, 8}, {24, 24, 0, 32},
                  {48, 48, 0, 32}, {64, 64, 0, 32}, {0, 0, 0, 32}};
    for (int i = 0; i < 7; ++i) {
        const unsigned char* entry = bytes + 6 + 14 * i;
        EXPECT_EQ(entry[0], images[i].width) << i;
        EXPECT_EQ(entry[1], images[i].height) << i;
        EXPECT_EQ(entry[2], images[i].colours) << i;
        EXPECT_EQ(entry[6] | entry[7] << 8, images[i].bits) << i;
    }
    EXPECT_NE(LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON)), nullptr);
}

TEST(CompiledResources, DialogTemplatesKeepTheirSizeItemsAndStyles) {
    // Extended templates: version, signature, help id, extended style, style,
    // item count, then x, y, cx, cy in dialog units.
    const struct {
        int id;
        WORD language;
        int items, cx, cy;
        DWORD exStyle;
    } dialogs[] = {{IDD_ABOUTBOX, kChinese, 3, 235, 55, 0},
                   {IDD_MAIN_DIALOG, kChinese, 6, 433, 58, WS_EX_APPWINDOW},
                   {IDD_ABOUTBOX, kEnglish, 3, 235, 55, 0},
                   {IDD_MAIN_DIALOG, kEnglish, 6, 472, 58, WS_EX_APPWINDOW}};
    for (const auto& d : dialogs) {
        const std::string tpl = Resource(RT_DIALOG, d.id, d.language);
        ASSERT_GE(tpl.size(), 26u) << d.id << " in " << d.language;
        auto word = [&](size_t at) {
            return static_cast<unsigned>(static_cast<unsigned char>(tpl[at]) |
                                         static_cast<unsigned char>(tpl[at + 1]) << 8);
        };
        ASSERT_EQ(word(2), 0xFFFFu) << d.id;
        const DWORD exStyle = word(8) | word(10) << 16;
        const DWORD style = word(12) | word(14) << 16;
        EXPECT_EQ(word(16), static_cast<unsigned>(d.items)) << d.id;
        EXPECT_EQ(word(22), static_cast<unsigned>(d.cx)) << d.id;
        EXPECT_EQ(word(24), static_cast<unsigned>(d.cy)) << d.id;
        EXPECT_EQ(exStyle, d.exStyle) << d.id;
        const DWORD wanted = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
        EXPECT_EQ(style & wanted, wanted) << d.id;
        // Neither template centres itself: the framework places the dialogs.
        EXPECT_EQ(style & (DS_CENTER | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u) << d.id;
    }
}
