// The main dialog and the About box, run through their windows on Qt's
// offscreen platform with fake cameras behind the COM seam.
#include "capture/saveparameters.h"
#include "platform/msgbox_hook.h"
#include "platform/profilefile.h"
#include "platform/linux/resources.h"
#include "platform/linux/ui/uiframework.h"
#include "tests/app/dialogtestsupport.h"
#include "tests/app/fakecameras.h"
#include "tests/platform/linux/ui/modaldriver.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const QString kIniFile = QStringLiteral("VK37.INI");

void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QTest::keyClick(target, key, modifiers);
}

QComboBox* DeviceList(const CWnd& dlg) {
    return qobject_cast<QComboBox*>(DialogControl(dlg, IDC_DEVICE_COMBO));
}

QStringList Items(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

// What one message box showed before the test dismissed it.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
};

// Records and dismisses the next message box over window.
void DismissNextBox(QWidget* window, QList<SeenBox>* seen) {
    WhenModalAppears(window, [seen](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (box == nullptr) {
            modal->close();
            return;
        }
        SeenBox s{box->windowTitle(), box->text(), box->icon(), {}};
        for (QAbstractButton* button : box->buttons())
            s.buttons << button->text();
        seen->append(s);
        box->buttons().first()->click();
    });
}

} // namespace

class MainDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitFrameworkUi(); }

    void init() {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_previousDir = QDir::currentPath();
        QDir::setCurrent(m_dir->path());
        m_giveUps = DriverGiveUps();
    }

    void cleanup() {
        QDir::setCurrent(m_previousDir);
        m_dir.reset();
        CoUninitialize();
        QCOMPARE(DriverGiveUps(), m_giveUps);
    }

    void listsDevicesInEnumerationOrder() {
        CFakeCameraRegistration cameras({{L"Zeta Camera"}, {L"Alpha Camera"}});
        CTestDlg dlg;
        QStringList items;
        int current = -2, holderCount = -1, liveFilters = -1;
        bool editable = true;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QComboBox* combo = DeviceList(dlg);
            items = Items(combo);
            current = combo->currentIndex();
            editable = combo->isEditable();
            holderCount = dlg.m_CaptureDevice.DeviceCount();
            liveFilters = cameras.LiveFilters();
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QCOMPARE(items, QStringList({"Zeta Camera", "Alpha Camera"}));
        QCOMPARE(current, 0);
        QCOMPARE(dlg.m_nDeviceIndex, 0);
        QVERIFY(!editable);
        QCOMPARE(holderCount, 0);
        QCOMPARE(liveFilters, 0);
    }

    void unreadableNameKeepsItsPosition() {
        CFakeCameraRegistration cameras(
            {{L"First", true, 100}, {L"", false, 200}, {L"Third", true, 300}});
        CTestDlg dlg;
        QStringList items;
        QList<SeenBox> boxes;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QComboBox* combo = DeviceList(dlg);
            items = Items(combo);
            combo->setCurrentIndex(2);
            DismissNextBox(window, &boxes);
            QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        QCOMPARE(items, QStringList({"First", "(未知设备)", "Third"}));
        const QMap<QString, QString> ini = ReadIniFile(kIniFile);
        QCOMPARE(ini.value("SYSTEM/PORT"), QString("2"));
        QCOMPARE(ini.value("BRIGHTNESS/V_LVALUE"), QString("300"));
        QCOMPARE(boxes.size(), 1);
    }

    // The cameras change between filling the list and pressing save: the
    // chosen camera is saved where it now is, or not at all, and the list
    // is brought up to date either way.
    void aChangedDeviceListNeverSavesAnotherCamera_data() {
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("port");       // empty: no file
        QTest::addColumn<QString>("brightness"); // V_LVALUE of the saved camera
        QTest::addColumn<QString>("box");        // the one message shown
        QTest::addColumn<int>("selected");
        QTest::newRow("moved") << 1 << "0"
                               << "200"
                               << "VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。"
                               << 0;
        QTest::newRow("gone") << 0 << ""
                              << ""
                              << "VK37摄像头参数未保存。\n 所选摄像头已不在系统中，设备列表已更新。"
                              << 0;
    }
    void aChangedDeviceListNeverSavesAnotherCamera() {
        QFETCH(int, chosen);
        QFETCH(QString, port);
        QFETCH(QString, brightness);
        QFETCH(QString, box);
        QFETCH(int, selected);
        // Two cameras of one model; the first is unplugged before the save.
        CFakeCameraRegistration cameras(
            {{L"Camera", true, 100, L"usb-1"}, {L"Camera", true, 200, L"usb-2"}});
        CTestDlg dlg;
        QStringList before, after;
        int current = -2;
        QList<SeenBox> boxes;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QComboBox* combo = DeviceList(dlg);
            before = Items(combo);
            combo->setCurrentIndex(chosen);
            cameras.SetCameras({{L"Camera", true, 200, L"usb-2"}});
            DismissNextBox(window, &boxes);
            QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
            after = Items(combo);
            current = combo->currentIndex();
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        QCOMPARE(before, QStringList({"Camera", "Camera"}));
        QCOMPARE(after, QStringList({"Camera"}));
        QCOMPARE(current, selected);
        const QMap<QString, QString> ini = ReadIniFile(kIniFile);
        QCOMPARE(ini.value("SYSTEM/PORT"), port);
        QCOMPARE(ini.value("BRIGHTNESS/V_LVALUE"), brightness);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, box);
    }

    // On WM_DEVICECHANGE the chosen camera stays chosen by its identity, or
    // the first entry when it went; under the save's box the refresh waits.
    void theListFollowsCamerasComingAndGoing_data() {
        QTest::addColumn<int>("chosen"); // of A, B
        QTest::addColumn<QStringList>("now");
        QTest::addColumn<bool>("underBox");
        QTest::addColumn<int>("selected");
        QTest::newRow("arrival ahead") << 1 << QStringList{"C", "A", "B"} << false << 2;
        QTest::newRow("chosen one gone") << 1 << QStringList{"C", "A"} << false << 0;
        QTest::newRow("during a box") << 0 << QStringList{"C", "B", "A"} << true << 2;
        QTest::newRow("every camera gone") << 0 << QStringList{} << false << -1;
    }
    void theListFollowsCamerasComingAndGoing() {
        QFETCH(int, chosen);
        QFETCH(QStringList, now);
        QFETCH(bool, underBox);
        QFETCH(int, selected);
        const auto camera = [](const QString& name) {
            return FakeCamera{name.toStdWString(), true, 100 * (name[0].unicode() - 'A' + 1)};
        };
        CFakeCameraRegistration cameras({camera("A"), camera("B")});
        CTestDlg dlg;
        QStringList underTheBox, after;
        int current = -2;
        QString focus;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QComboBox* combo = DeviceList(dlg);
            combo->setCurrentIndex(chosen);
            DialogControl(dlg, IDC_LOAD_BUTTON)->setFocus();
            const auto plug = [&] {
                std::vector<FakeCamera> plugged;
                for (const QString& name : now)
                    plugged.push_back(camera(name));
                cameras.SetCameras(plugged);
                dlg.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
            };
            if (underBox) {
                WhenModalAppears(window, [&](QWidget* box) {
                    plug();
                    underTheBox = Items(combo);
                    qobject_cast<QMessageBox*>(box)->buttons().first()->click();
                });
                QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
            } else {
                plug();
            }
            after = Items(combo);
            current = combo->currentIndex();
            focus = window->focusWidget() == DialogControl(dlg, IDC_LOAD_BUTTON) ? "load"
                    : window->focusWidget() == combo                             ? "list"
                                                                                 : "other";
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        if (underBox)
            QCOMPARE(underTheBox, QStringList({"A", "B"}));
        QCOMPARE(after, now);
        QCOMPARE(current, selected);
        // With the last camera gone the focused button goes off: the list takes the focus.
        if (!underBox)
            QCOMPARE(focus, now.isEmpty() ? "list" : "load");
    }

    void savesTheChosenDeviceAndReportsOnce() {
        CFakeCameraRegistration cameras(
            {{L"Zeta Camera", true, 100}, {L"Alpha Camera", true, 200}});
        int liveFiltersAfterSave = -1;
        QList<SeenBox> boxes;
        {
            CTestDlg dlg;
            WhenModalAppears(nullptr, [&](QWidget* window) {
                QComboBox* combo = DeviceList(dlg);
                combo->setFocus();
                QTest::keyClick(combo, Qt::Key_Down); // the user picks the second device
                DismissNextBox(window, &boxes);
                QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
                liveFiltersAfterSave = cameras.LiveFilters();
                Press(window, Qt::Key_Escape);
            });
            QCOMPARE(dlg.DoModal(), IDCANCEL);
            QCOMPARE(dlg.m_nDeviceIndex, 1);
        }
        const QMap<QString, QString> ini = ReadIniFile(kIniFile);
        QCOMPARE(ini.value("SYSTEM/PORT"), QString("1"));
        QCOMPARE(ini.value("BRIGHTNESS/V_LVALUE"), QString("200"));
        QCOMPARE(ini.value("WHITEBALANCE/V_PMAX"), QString("2070"));
        QCOMPARE(ini.value("EXPOSURE/V_LVALUE"), QString("304"));
        QCOMPARE(ini.value("EXPOSURE/V_PCAPSFLAGS"), QString("2"));

        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, QString("VK37Set"));
        QCOMPARE(boxes[0].text,
                 QString::fromWCharArray(
                     L"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。"));
        QCOMPARE(boxes[0].icon, QMessageBox::Warning);
        QCOMPARE(boxes[0].buttons, QStringList({"确定"}));
        // The holder keeps the bound filter until the dialog object goes.
        QCOMPARE(liveFiltersAfterSave, 1);
        QCOMPARE(cameras.LiveFilters(), 0);
    }

    void withoutCamerasNothingIsSelectedAndSaveDoesNothing() {
        CFakeCameraRegistration cameras({});
        int messages = 0;
        MessageBoxHandler previous = SetMessageBoxHandler([&](LPCWSTR, UINT, UINT) {
            ++messages;
            return IDOK;
        });
        CTestDlg dlg;
        int count = -1, current = -2, chosenIndex = -2;
        QList<bool> enabled;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QComboBox* combo = DeviceList(dlg);
            count = combo->count();
            current = combo->currentIndex();
            QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
            // The buttons are off; their commands, sent anyway, find nothing chosen.
            for (int id : {IDC_SAVE_BUTTON, IDC_PROPERTIES_BUTTON, IDC_LOAD_BUTTON}) {
                enabled << DialogControl(dlg, id)->isEnabled();
                dlg.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
            }
            chosenIndex = dlg.m_nDeviceIndex;
            cameras.SetCameras({{L"Camera"}}); // a camera arrives: they come on
            dlg.SendMessage(WM_DEVICECHANGE, DBT_DEVICEARRIVAL, 0);
            for (int id : {IDC_SAVE_BUTTON, IDC_PROPERTIES_BUTTON, IDC_LOAD_BUTTON})
                enabled << DialogControl(dlg, id)->isEnabled();
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        SetMessageBoxHandler(previous);
        QCOMPARE(enabled, QList<bool>({false, false, false, true, true, true}));
        QCOMPARE(count, 0);
        QCOMPARE(current, -1);
        QCOMPARE(chosenIndex, -1);
        QCOMPARE(messages, 0);
        QVERIFY(!QFile::exists(kIniFile));
    }

    // 属性 and 参数载入 by their access keys on the chosen camera, looked up
    // afresh: one box says what happened; 参数载入 writes only what differs.
    void eachDeviceButtonEndsWithItsBox_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("before"); // "save": A saved first; "unplug": and A gone
        QTest::addColumn<int>("chosen");     // of A, B
        QTest::addColumn<QString>("box");
        QTest::addColumn<QStringList>("sets");
        QString others = "VK37摄像头参数未全部载入。\n 以下参数未载入：";
        for (const char* name :
             {"亮度", "对比度", "色调", "饱和度", "清晰度", "启用颜色", "白平衡", "曝光"})
            others += QString("\n %1：摄像头的范围或步长与文件中的不同，未写入。").arg(name);
        QTest::newRow("属性: no pages")
            << int(Qt::Key_P) << "" << 0 << "所选摄像头没有可显示的属性页。" << QStringList{};
        QTest::newRow("载入: no file")
            << int(Qt::Key_L) << "" << 0
            << "VK37摄像头参数未载入。\n 当前目录中没有'VK37.ini'文件，或该文件不是参数文件。"
            << QStringList{};
        QTest::newRow("载入: the file's other value goes in")
            << int(Qt::Key_L) << "save" << 0
            << "VK37摄像头参数载入完毕。\n 摄像头现已具有'VK37.ini'文件中的全部参数值。\n "
               "已更改的参数：亮度。"
            << QStringList{"set 100 p0=150/2"};
        QTest::newRow("载入: the chosen camera, not the file's PORT")
            << int(Qt::Key_L) << "save" << 1 << others + "\n 摄像头的设置未被更改。"
            << QStringList{};
        QTest::newRow("载入: the camera is gone")
            << int(Qt::Key_L) << "unplug" << 0
            << "VK37摄像头参数未载入。\n 所选摄像头已不在系统中，设备列表已更新。" << QStringList{};
    }
    void eachDeviceButtonEndsWithItsBox() {
        QFETCH(int, key);
        QFETCH(QString, before);
        QFETCH(int, chosen);
        QFETCH(QString, box);
        QFETCH(QStringList, sets);
        const FakeCamera a{L"Camera A", true, 100, L"usb-1"}, b{L"Camera B", true, 200, L"usb-2"};
        CFakeCameraRegistration cameras({a, b});
        CTestDlg dlg;
        QList<SeenBox> boxes;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            if (!before.isEmpty()) {
                DismissNextBox(window, &boxes);
                QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
                boxes.clear();
                WritePrivateProfileStringW(L"BRIGHTNESS", L"V_LVALUE", L"150", L".\\VK37.INI");
            }
            if (before == "unplug")
                cameras.SetCameras({b});
            DeviceList(dlg)->setCurrentIndex(chosen);
            DismissNextBox(window, &boxes);
            // Access keys reach the active window only, and click a moment later.
            window->activateWindow();
            static_cast<void>(QTest::qWaitForWindowActive(window));
            Press(window, Qt::Key(key), Qt::AltModifier);
            static_cast<void>(QTest::qWaitFor([&] { return !boxes.isEmpty(); }));
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].text, box);
        QStringList written;
        for (const std::string& entry : cameras.Log())
            if (entry.rfind("set ", 0) == 0)
                written << QString::fromStdString(entry);
        QCOMPARE(written, sets);
    }

    void enterTriggersOk_data() {
        QTest::addColumn<int>("focusId");
        QTest::newRow("focus on OK") << IDOK;
        QTest::newRow("focus on the device list") << IDC_DEVICE_COMBO;
    }
    void enterTriggersOk() {
        QFETCH(int, focusId);
        CFakeCameraRegistration cameras({{L"Camera"}});
        CTestDlg dlg;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            DialogControl(dlg, focusId)->setFocus();
            Press(window, Qt::Key_Return);
        });
        QCOMPARE(dlg.DoModal(), IDOK);
        QVERIFY(!QFile::exists(kIniFile));
    }

    void enterOnSaveButtonSaves() {
        CFakeCameraRegistration cameras({{L"Camera", true, 10}});
        CTestDlg dlg;
        QList<SeenBox> boxes;
        bool stillOpen = false;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            DialogControl(dlg, IDC_SAVE_BUTTON)->setFocus();
            DismissNextBox(window, &boxes);
            Press(window, Qt::Key_Return);
            stillOpen = window->isVisible();
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QVERIFY(stillOpen);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(ReadIniFile(kIniFile).value("SYSTEM/PORT"), QString("0"));
    }

    void tabOrderFollowsTemplate() {
        CFakeCameraRegistration cameras({{L"Camera"}});
        CTestDlg dlg;
        QList<int> order;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            for (int i = 0; i < 6; ++i) {
                int focused = 0;
                for (int id : {IDOK, IDC_DEVICE_COMBO, IDC_SAVE_BUTTON, IDC_PROPERTIES_BUTTON,
                               IDC_LOAD_BUTTON})
                    if (DialogControl(dlg, id) == window->focusWidget())
                        focused = id;
                order << focused;
                Press(window, Qt::Key_Tab);
            }
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        // The focus starts on the first tab stop, goes left to right and wraps around.
        QCOMPARE(order, QList<int>({IDC_DEVICE_COMBO, IDC_SAVE_BUTTON, IDC_PROPERTIES_BUTTON,
                                    IDC_LOAD_BUTTON, IDOK, IDC_DEVICE_COMBO}));
    }

    void cancelPaths_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("Esc") << "escape";
        QTest::newRow("close button") << "close";
        QTest::newRow("system menu close entry") << "menu";
    }
    void cancelPaths() {
        QFETCH(QString, how);
        CFakeCameraRegistration cameras({{L"Camera"}});
        CTestDlg dlg;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            if (how == "escape") {
                Press(window, Qt::Key_Escape);
            } else if (how == "close") {
                window->close();
            } else {
                WhenPopupAppears([](QMenu* menu) {
                    menu->setActiveAction(menu->actions().first());
                    QTest::keyClick(menu, Qt::Key_Return);
                });
                Press(window, Qt::Key_Menu);
            }
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_previousDir;
    int m_giveUps = 0;
    CWinApp m_app{L"VK37Set"};
};

QTEST_MAIN(MainDialogTest)
#include "vk37setdlg_test.moc"
