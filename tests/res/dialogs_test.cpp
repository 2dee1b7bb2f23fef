// The generated tables against the dialogs and strings the program promises:
// what a user sees (texts, geometry, font), how the keyboard moves (tab
// order, groups, default button) and the window's frame.
#include "platform/linux/resources.h"
#include "res/resource.h"
#include "win32_values.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace win32;

namespace {

constexpr int kStatic = -1; // IDC_STATIC
constexpr int IDOK = 1;

const DialogItemTemplate& Item(const DialogTemplate& d, size_t index) {
    return d.items[index];
}

std::vector<int> Ids(const DialogTemplate& d) {
    std::vector<int> ids;
    for (size_t i = 0; i < d.itemCount; ++i)
        ids.push_back(d.items[i].id);
    return ids;
}

std::vector<int> TabStops(const DialogTemplate& d) {
    std::vector<int> ids;
    for (size_t i = 0; i < d.itemCount; ++i) {
        if (d.items[i].style & WS_TABSTOP)
            ids.push_back(d.items[i].id);
    }
    return ids;
}

void ExpectGeometry(const DialogItemTemplate& item, int x, int y, int cx, int cy) {
    EXPECT_EQ(x, item.x) << item.id;
    EXPECT_EQ(y, item.y) << item.id;
    EXPECT_EQ(cx, item.cx) << item.id;
    EXPECT_EQ(cy, item.cy) << item.id;
}

void ExpectModalFrameWithFont(const DialogTemplate& d) {
    EXPECT_EQ(WS_POPUP, d.style & WS_POPUP);
    EXPECT_EQ(WS_CAPTION, d.style & WS_CAPTION);
    EXPECT_TRUE(d.style & WS_SYSMENU);
    EXPECT_TRUE(d.style & DS_MODALFRAME);
    EXPECT_TRUE(d.style & DS_SETFONT);
    // A fixed-size frame without minimise or maximise box.
    EXPECT_FALSE(d.style & WS_THICKFRAME);
    EXPECT_FALSE(d.style & WS_MINIMIZEBOX);
    EXPECT_FALSE(d.style & WS_MAXIMIZEBOX);
    EXPECT_EQ(std::wstring(L"宋体"), d.fontName);
    EXPECT_EQ(9, d.pointSize);
    for (size_t i = 0; i < d.itemCount; ++i) {
        EXPECT_EQ(WS_CHILD | WS_VISIBLE, d.items[i].style & (WS_CHILD | WS_VISIBLE)) << i;
        EXPECT_EQ(0u, d.items[i].exStyle) << i;
    }
}

TEST(MainDialogTemplate, FrameCaptionAndFont) {
    const DialogTemplate* d = FindDialogTemplate(IDD_MAIN_DIALOG);
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(std::wstring(L"摄像头参数保存"), d->caption);
    EXPECT_EQ(298, d->cx);
    EXPECT_EQ(58, d->cy);
    ExpectModalFrameWithFont(*d);
    EXPECT_TRUE(d->style & WS_VISIBLE);
    EXPECT_TRUE(d->exStyle & WS_EX_APPWINDOW);
}

TEST(MainDialogTemplate, ControlsInTabOrderWithTheirTexts) {
    const DialogTemplate* d = FindDialogTemplate(IDD_MAIN_DIALOG);
    ASSERT_NE(nullptr, d);
    ASSERT_EQ((std::vector<int>{IDOK, IDC_DEVICE_COMBO, kStatic, IDC_SAVE_BUTTON}), Ids(*d));
    EXPECT_EQ((std::vector<int>{IDOK, IDC_DEVICE_COMBO, IDC_SAVE_BUTTON}), TabStops(*d));

    EXPECT_STREQ("BUTTON", Item(*d, 0).className);
    EXPECT_EQ(std::wstring(L"确定"), Item(*d, 0).text);
    ExpectGeometry(Item(*d, 0), 241, 35, 50, 16);

    EXPECT_STREQ("COMBOBOX", Item(*d, 1).className);
    EXPECT_EQ(std::wstring(), Item(*d, 1).text);
    ExpectGeometry(Item(*d, 1), 77, 14, 137, 92);

    EXPECT_STREQ("STATIC", Item(*d, 2).className);
    EXPECT_EQ(std::wstring(L"视频捕捉设备:"), Item(*d, 2).text);
    ExpectGeometry(Item(*d, 2), 15, 16, 53, 8);

    EXPECT_STREQ("BUTTON", Item(*d, 3).className);
    EXPECT_EQ(std::wstring(L"参数保存..."), Item(*d, 3).text);
    ExpectGeometry(Item(*d, 3), 222, 14, 61, 15);
}

TEST(MainDialogTemplate, OkIsTheOnlyDefaultButton) {
    const DialogTemplate* d = FindDialogTemplate(IDD_MAIN_DIALOG);
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(BS_DEFPUSHBUTTON, Item(*d, 0).style & BS_TYPEMASK);
    EXPECT_EQ(BS_PUSHBUTTON, Item(*d, 3).style & BS_TYPEMASK);
}

TEST(MainDialogTemplate, DeviceListIsAnUnsortedDropDownList) {
    const DialogTemplate* d = FindDialogTemplate(IDD_MAIN_DIALOG);
    ASSERT_NE(nullptr, d);
    uint32_t style = Item(*d, 1).style;
    EXPECT_EQ(CBS_DROPDOWNLIST, style & CBS_TYPEMASK);
    EXPECT_FALSE(style & CBS_SORT);
    EXPECT_TRUE(style & WS_VSCROLL);
}

TEST(MainDialogTemplate, LabelStartsTheGroupOfLabelAndSaveButton) {
    const DialogTemplate* d = FindDialogTemplate(IDD_MAIN_DIALOG);
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(SS_LEFT, Item(*d, 2).style & SS_TYPEMASK);
    EXPECT_TRUE(Item(*d, 2).style & WS_GROUP);
    EXPECT_FALSE(Item(*d, 3).style & WS_GROUP);
    EXPECT_FALSE(Item(*d, 1).style & WS_GROUP);
}

TEST(AboutBoxTemplate, FrameCaptionAndFont) {
    const DialogTemplate* d = FindDialogTemplate(IDD_ABOUTBOX);
    ASSERT_NE(nullptr, d);
    EXPECT_EQ(std::wstring(L"关于 VK37Set"), d->caption);
    EXPECT_EQ(235, d->cx);
    EXPECT_EQ(55, d->cy);
    ExpectModalFrameWithFont(*d);
    EXPECT_FALSE(d->exStyle & WS_EX_APPWINDOW);
}

TEST(AboutBoxTemplate, IconTextAndOkButton) {
    const DialogTemplate* d = FindDialogTemplate(IDD_ABOUTBOX);
    ASSERT_NE(nullptr, d);
    ASSERT_EQ((std::vector<int>{kStatic, kStatic, IDOK}), Ids(*d));

    const DialogItemTemplate& icon = Item(*d, 0);
    EXPECT_STREQ("STATIC", icon.className);
    EXPECT_EQ(SS_ICON, icon.style & SS_TYPEMASK);
    EXPECT_EQ(std::wstring(L"#129"), icon.text);
    size_t size = 0;
    EXPECT_NE(nullptr, FindIconGroup(IDI_APP_ICON, &size));
    ExpectGeometry(icon, 11, 17, 20, 20);

    const DialogItemTemplate& text = Item(*d, 1);
    EXPECT_EQ(std::wstring(L"VK37Set 1.0 版"), text.text);
    EXPECT_EQ(SS_LEFT, text.style & SS_TYPEMASK);
    EXPECT_TRUE(text.style & SS_NOPREFIX);
    EXPECT_TRUE(text.style & WS_GROUP);
    ExpectGeometry(text, 40, 10, 119, 8);

    const DialogItemTemplate& ok = Item(*d, 2);
    EXPECT_EQ(std::wstring(L"确定"), ok.text);
    EXPECT_EQ(BS_DEFPUSHBUTTON, ok.style & BS_TYPEMASK);
    EXPECT_EQ(WS_TABSTOP | WS_GROUP, ok.style & (WS_TABSTOP | WS_GROUP));
    ExpectGeometry(ok, 178, 7, 50, 16);
}

TEST(ResourceTables, UnknownIdsFindNothing) {
    EXPECT_EQ(nullptr, FindDialogTemplate(IDD_ABOUTBOX + 1));
    EXPECT_EQ(nullptr, FindDialogTemplate(0));
    EXPECT_EQ(nullptr, FindResourceString(IDS_ABOUTBOX + 1));
    EXPECT_EQ(nullptr, FindResourceString(0));
    size_t size = 123;
    EXPECT_EQ(nullptr, FindIconGroup(IDI_APP_ICON + 1, &size));
    EXPECT_EQ(123u, size);
}

TEST(ResourceTables, AboutEntryOfTheSystemMenu) {
    const wchar_t* text = FindResourceString(IDS_ABOUTBOX);
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(std::wstring(L"关于 VK37Set(&A)..."), text);
}

TEST(ResourceIds, ValuesTheCodeAndScriptAgreeOn) {
    // The About command must keep its low four bits clear: OnSysCommand
    // masks them off before comparing.
    EXPECT_EQ(0, IDM_ABOUTBOX & 0xF);
    EXPECT_LT(IDM_ABOUTBOX, 0xF000); // below the system's own commands
}

} // namespace
