// The main dialog on Qt's offscreen platform against vivid: while it is open
// vivid is unbound and bound again, the list follows through the watch on
// /dev, and the second camera, back again, is the one the save writes; then
// its controls are changed and 参数载入 (Alt+L) puts the saved values back.
#include "app/vk37setdlg.h"
#include "tests/integration/inifile.h"
#include "tests/integration/v4l2ctl.h"
#include "tests/integration/vividfixture.h"
#include "tests/platform/linux/ui/modaldriver.h"

#include <QApplication>
#include <QComboBox>
#include <QTest>

#include <map>
#include <string>
#include <vector>

namespace {

// A hang guard only: the list follows a change within about a second.
constexpr int kListWaitMs = 60000;

// The list's entries, one a line; with count, once it holds that many.
std::string Items(const QComboBox* combo, int count = -1) {
    if (count >= 0 && !QTest::qWaitFor([&] { return combo->count() == count; }, kListWaitMs))
        return "(not " + std::to_string(count) + " entries)";
    std::string items;
    for (int i = 0; i < combo->count(); ++i)
        items += combo->itemText(i).toStdString() + "\n";
    return items;
}

std::string Value(const std::vector<IniSection>& file, const std::string& section,
                  const std::string& key) {
    for (const IniSection& s : file)
        for (const auto& [name, value] : s.keys)
            if (s.name == section && name == key)
                return value;
    return "(none)";
}

using VividDialog = CVividTest;

TEST_F(VividDialog, TheCameraThatCameBackWhileOpenCanBePickedAndSaved) {
    int argc = 1;
    char name[] = "vivid_dialog_tests";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    CWinApp winApp{L"VK37Set"};
    CScratchDirectory scratch;

    CVK37SetDlg dlg;
    int listed = 0;
    std::string before, unplugged = "(vivid not unbound)", replugged;
    bool brightnessSet = false, changed = false;
    std::map<std::string, V4l2CtlControl> restored;
    WhenModalAppears(nullptr, [&](QWidget* window) {
        auto* combo = qobject_cast<QComboBox*>(DialogControl(dlg, IDC_DEVICE_COMBO));
        listed = combo->count();
        before = Items(combo);
        std::string device;
        if (UnbindVivid(&device))
            unplugged = Items(combo, 0);
        if (BindVivid(device))
            replugged = Items(combo, 2);
        // Values that tell the two cameras apart in the file.
        const std::vector<std::string> nodes = CaptureNodes();
        brightnessSet = nodes.size() == 2 && SetControl(nodes[0], "brightness", 10) &&
                        SetControl(nodes[1], "brightness", 240);
        combo->setCurrentIndex(1);
        QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
        // The user changes the second camera and gives it the file back by
        // Alt+L, which reaches the active window only and clicks a moment later.
        changed = nodes.size() == 2 && SetControl(nodes[1], "brightness", 17);
        window->activateWindow();
        const bool active = QTest::qWaitForWindowActive(window);
        QTest::keyClick(window, Qt::Key_L, Qt::AltModifier);
        changed = changed && active && QTest::qWaitFor([&] { return !m_messages.empty(); });
        if (nodes.size() == 2)
            restored = ListControls(nodes[1]);
        dlg.EndDialog(IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, dlg.DoModal());

    ASSERT_EQ(2, listed);
    EXPECT_EQ("", unplugged);
    EXPECT_EQ(before, replugged);
    ASSERT_TRUE(brightnessSet);
    std::vector<IniSection> file;
    ASSERT_TRUE(ReadIniFile(scratch.ParameterFile(), &file));
    EXPECT_EQ(8u, file.size()) << "vivid has no exposure: eight sections";
    EXPECT_EQ("1", Value(file, "SYSTEM", "PORT"));
    EXPECT_EQ("240", Value(file, "BRIGHTNESS", "V_LVALUE")) << "the second camera's brightness";
    ASSERT_TRUE(changed);
    EXPECT_EQ(240, restored["brightness"].value);
    // Only the restore shows a box (vivid has no exposure).
    ASSERT_EQ(1u, m_messages.size());
    EXPECT_EQ(L"VK37摄像头参数载入完毕。\n 摄像头现已具有'VK37.ini'文件中的全部参数值。"
              L"\n 清晰度：文件中此参数没有值。\n 启用颜色：文件中此参数没有值。"
              L"\n 白平衡：文件中此参数没有值。\n 曝光：文件中没有此参数。"
              L"\n 已更改的参数：亮度。",
              m_messages[0]);
    EXPECT_EQ(0, DriverGiveUps());
}

} // namespace
