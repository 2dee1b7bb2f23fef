// The dialog framework on its own: message routing, data exchange with the
// combo box, modal runs, keys, the focus mark, the message box, dialog units
// and fonts.
#include "platform/framework.h"
#include "platform/comctlinit.h"
#include "platform/linux/resources.h"
#include "platform/linux/ui/dialogbutton.h"
#include "platform/linux/ui/dialogfont.h"
#include "platform/linux/ui/handles.h"
#include "platform/linux/ui/uiframework.h"
#include "res/resource.h"
#include "tests/platform/linux/ui/modaldriver.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <tuple>

namespace {

class CTestApp : public CWinApp {
public:
    CTestApp() : CWinApp(L"TestCaption") {}
    int m_helpCalls = 0;
    afx_msg void OnHelpCommand() { ++m_helpCalls; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestApp, CWinApp)
ON_COMMAND(ID_HELP, &CTestApp::OnHelpCommand)
END_MESSAGE_MAP()

// A dialog over the main template with a handler of its own for the save
// button and none for OK, so OK falls through to CDialog.
class CProbeDlg : public CDialog {
public:
    CProbeDlg() : CDialog(IDD_MAIN_DIALOG) {}

    CComboBox m_combo;
    int m_index = 5;
    int m_saves = 0;
    std::function<void(CProbeDlg&)> m_onInit;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_DEVICE_COMBO, m_combo);
        DDX_CBIndex(pDX, IDC_DEVICE_COMBO, m_index);
    }
    afx_msg void OnSave() { ++m_saves; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeDlg, CDialog)
ON_BN_CLICKED(IDC_SAVE_BUTTON, &CProbeDlg::OnSave)
END_MESSAGE_MAP()

// Any template, counting every press of its push buttons; OK does not end it.
class CPressCountDlg : public CDialog {
public:
    explicit CPressCountDlg(int templateId) : CDialog(templateId) {}
    int m_presses = 0;

protected:
    void OnOK() override { ++m_presses; }
    afx_msg void OnSave() { ++m_presses; }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CPressCountDlg, CDialog)
ON_BN_CLICKED(IDC_SAVE_BUTTON, &CPressCountDlg::OnSave)
END_MESSAGE_MAP()

void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window, key,
                    modifiers);
}

} // namespace

class FrameworkTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitFrameworkUi(); }

    void comboKeepsOrderAndSelectsNothingUntilAsked() {
        CProbeDlg dlg;
        QStringList items;
        int afterAdd = 0, afterBadSet = 0, badSetResult = 0, count = 0;
        int fromControl = 0;
        dlg.m_onInit = [&](CProbeDlg& d) {
            // The first exchange found an empty list: index 5 selects nothing.
            d.m_combo.AddString(L"b");
            d.m_combo.AddString(L"a");
            d.m_combo.AddString(L"c");
            afterAdd = d.m_combo.GetCurSel();
            badSetResult = d.m_combo.SetCurSel(3);
            afterBadSet = d.m_combo.GetCurSel();
            count = d.m_combo.GetCount();
            auto* combo = qobject_cast<QComboBox*>(reinterpret_cast<QWidget*>(d.m_combo.m_hWnd));
            for (int i = 0; i < combo->count(); ++i)
                items << combo->itemText(i);
            d.m_index = 2;
            d.UpdateData(FALSE);
            fromControl = combo->currentIndex();
        };
        WhenModalAppears(nullptr, [&](QWidget* window) { Press(window, Qt::Key_Escape); });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QCOMPARE(items, QStringList({"b", "a", "c"}));
        QCOMPARE(count, 3);
        QCOMPARE(afterAdd, CB_ERR);
        QCOMPARE(badSetResult, CB_ERR);
        QCOMPARE(afterBadSet, CB_ERR);
        QCOMPARE(fromControl, 2);
        QCOMPARE(dlg.m_combo.m_hWnd, static_cast<HWND>(nullptr));
    }

    void okExchangesTheSelectionBack_data() {
        QTest::addColumn<int>("pick");
        QTest::newRow("second item") << 1;
        QTest::newRow("no selection") << -1;
    }
    void okExchangesTheSelectionBack() {
        QFETCH(int, pick);
        CProbeDlg dlg;
        dlg.m_onInit = [](CProbeDlg& d) {
            d.m_combo.AddString(L"x");
            d.m_combo.AddString(L"y");
        };
        WhenModalAppears(nullptr, [&](QWidget* window) {
            qobject_cast<QComboBox*>(DialogControl(dlg, IDC_DEVICE_COMBO))->setCurrentIndex(pick);
            QTest::mouseClick(DialogControl(dlg, IDOK), Qt::LeftButton);
            if (window->isVisible())
                Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDOK);
        QCOMPARE(dlg.m_index, pick);
    }

    void arrowsOnButtonsStayInTheirKeyboardGroup_data() {
        QTest::addColumn<int>("templateId");
        QTest::addColumn<int>("startId");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("expectedId");
        for (int key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right}) {
            const QByteArray name = QTest::toString(QKeySequence(key).toString());
            // The row's three buttons are a group; 确定 is one of its own.
            const bool back = key == Qt::Key_Up || key == Qt::Key_Left;
            QTest::addRow("save button, %s", name.constData())
                << IDD_MAIN_DIALOG << IDC_SAVE_BUTTON << key
                << (back ? IDC_LOAD_BUTTON : IDC_PROPERTIES_BUTTON);
            QTest::addRow("OK, %s", name.constData()) << IDD_MAIN_DIALOG << IDOK << key << IDOK;
            QTest::addRow("About box OK, %s", name.constData())
                << IDD_ABOUTBOX << IDOK << key << IDOK;
        }
    }
    void arrowsOnButtonsStayInTheirKeyboardGroup() {
        QFETCH(int, templateId);
        QFETCH(int, startId);
        QFETCH(int, key);
        QFETCH(int, expectedId);
        CDialog dlg(templateId);
        bool startedThere = false;
        int landedOn = 0;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QWidget* start = DialogControl(dlg, startId);
            start->setFocus();
            startedThere = window->focusWidget() == start;
            Press(window, static_cast<Qt::Key>(key));
            const DialogTemplate* tpl = FindDialogTemplate(templateId);
            for (size_t i = 0; i < tpl->itemCount; ++i)
                if (tpl->items[i].id != -1 &&
                    DialogControl(dlg, tpl->items[i].id) == window->focusWidget())
                    landedOn = tpl->items[i].id;
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QVERIFY(startedThere);
        QCOMPARE(landedOn, expectedId);
    }

    void altSpaceOpensTheMenuAndPressesNothing_data() {
        QTest::addColumn<int>("templateId");
        QTest::addColumn<int>("focusId");
        QTest::newRow("main dialog, OK") << IDD_MAIN_DIALOG << IDOK;
        QTest::newRow("main dialog, save button") << IDD_MAIN_DIALOG << IDC_SAVE_BUTTON;
        QTest::newRow("main dialog, device list") << IDD_MAIN_DIALOG << IDC_DEVICE_COMBO;
        QTest::newRow("About box, OK") << IDD_ABOUTBOX << IDOK;
    }
    void altSpaceOpensTheMenuAndPressesNothing() {
        QFETCH(int, templateId);
        QFETCH(int, focusId);
        const int giveUps = DriverGiveUps();
        CPressCountDlg dlg(templateId);
        QStringList menuTexts;
        bool openWhileMenu = false, focusKept = false, openAfter = false;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QWidget* focus = DialogControl(dlg, focusId);
            focus->setFocus();
            WhenPopupAppears([&](QMenu* menu) {
                for (QAction* action : menu->actions())
                    menuTexts << action->text();
                openWhileMenu = window->isVisible();
                QTest::keyClick(menu, Qt::Key_Escape);
            });
            Press(window, Qt::Key_Space, Qt::AltModifier);
            openAfter = window->isVisible();
            focusKept = window->focusWidget() == focus;
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QCOMPARE(DriverGiveUps(), giveUps);
        QCOMPARE(dlg.m_presses, 0);
        QCOMPARE(menuTexts, QStringList({"关闭(&C)\tAlt+F4"}));
        QVERIFY(openWhileMenu);
        QVERIFY(openAfter);
        QVERIFY(focusKept);
    }

    void focusedButtonShowsADottedRectangleInside_data() {
        QTest::addColumn<int>("templateId");
        QTest::addColumn<int>("buttonId");
        QTest::addColumn<bool>("isDefault");
        QTest::newRow("main dialog, OK") << IDD_MAIN_DIALOG << IDOK << true;
        QTest::newRow("main dialog, save button") << IDD_MAIN_DIALOG << IDC_SAVE_BUTTON << false;
        QTest::newRow("About box, OK") << IDD_ABOUTBOX << IDOK << true;
    }
    void focusedButtonShowsADottedRectangleInside() {
        QFETCH(int, templateId);
        QFETCH(int, buttonId);
        QFETCH(bool, isDefault);
        CDialog dlg(templateId);
        QImage focused, unfocused;
        bool hadFocus = true, defaultFocused = !isDefault, defaultUnfocused = !isDefault;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            auto* button = qobject_cast<QPushButton*>(DialogControl(dlg, buttonId));
            button->setFocus();
            hadFocus = button->hasFocus();
            defaultFocused = button->isDefault();
            focused = button->grab().toImage();
            button->clearFocus();
            hadFocus = hadFocus && !button->hasFocus();
            defaultUnfocused = button->isDefault();
            unfocused = button->grab().toImage();
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QVERIFY(hadFocus);
        QCOMPARE(defaultFocused, isDefault);
        QCOMPARE(defaultUnfocused, isDefault);
        QCOMPARE(focused.size(), unfocused.size());

        // The rectangle's outline, inset from the button's edges; only it
        // may change, so the default button keeps its frame.
        const QRect ring =
            focused.rect().adjusted(CDialogButton::kFocusInset, CDialogButton::kFocusInset,
                                    -CDialogButton::kFocusInset, -CDialogButton::kFocusInset);
        int ringPixels = 0, ringChanged = 0, otherChanged = 0;
        for (int y = 0; y < focused.height(); ++y)
            for (int x = 0; x < focused.width(); ++x) {
                const bool onRing = ring.contains(x, y) && (x == ring.left() || x == ring.right() ||
                                                            y == ring.top() || y == ring.bottom());
                const bool changed = focused.pixel(x, y) != unfocused.pixel(x, y);
                ringPixels += onRing;
                (onRing ? ringChanged : otherChanged) += changed;
            }
        QVERIFY(ringPixels > 0);
        // Dotted: about every other pixel of the outline, not a solid line.
        QVERIFY2(ringChanged * 3 >= ringPixels && ringChanged * 3 <= ringPixels * 2,
                 qPrintable(QString("%1 of %2").arg(ringChanged).arg(ringPixels)));
        QCOMPARE(otherChanged, 0);
    }

    void arrowsOnTheComboChangeItsSelection() {
        CProbeDlg dlg;
        dlg.m_onInit = [](CProbeDlg& d) {
            d.m_combo.AddString(L"x");
            d.m_combo.AddString(L"y");
            d.m_combo.AddString(L"z");
        };
        QList<int> selections;
        bool focusKept = true;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            auto* combo = qobject_cast<QComboBox*>(DialogControl(dlg, IDC_DEVICE_COMBO));
            combo->setCurrentIndex(1);
            combo->setFocus();
            for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_Up}) {
                Press(window, key);
                selections << combo->currentIndex();
                focusKept = focusKept && window->focusWidget() == combo;
            }
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QCOMPARE(selections, QList<int>({2, 1, 0}));
        QVERIFY(focusKept);
    }

    void derivedHandlersAndTheApplicationGetCommands() {
        CTestApp app;
        CProbeDlg dlg;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QTest::mouseClick(DialogControl(dlg, IDC_SAVE_BUTTON), Qt::LeftButton);
            Press(window, Qt::Key_F1);
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QCOMPARE(dlg.m_saves, 1);
        QCOMPARE(app.m_helpCalls, 1);
    }

    void endingDuringInitialisationNeverShowsTheWindow() {
        CProbeDlg dlg;
        dlg.m_onInit = [](CProbeDlg& d) { d.EndDialog(42); };
        QCOMPARE(dlg.DoModal(), 42);
        QCOMPARE(dlg.m_hWnd, static_cast<HWND>(nullptr));
    }

    void unknownTemplateFails() {
        CDialog dlg(4242);
        QCOMPARE(dlg.DoModal(), -1);
    }

    void messageBoxShowsTextCaptionIconAndOneButton_data() {
        QTest::addColumn<uint>("type");
        QTest::addColumn<int>("icon");
        QTest::newRow("type 0") << 0u << int(QMessageBox::Warning);
        QTest::newRow("error") << uint(MB_OK | MB_ICONERROR) << int(QMessageBox::Critical);
    }
    void messageBoxShowsTextCaptionIconAndOneButton() {
        QFETCH(uint, type);
        QFETCH(int, icon);
        CTestApp app;
        CDialog dlg(IDD_ABOUTBOX);
        const wchar_t* text = L"第一行。\n 第二行 'x'";
        QString title, shown, button;
        int buttons = 0, seenIcon = -1, result = 0;
        bool overDialog = false;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            WhenModalAppears(window, [&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (box == nullptr) {
                    modal->close();
                    return;
                }
                title = box->windowTitle();
                shown = box->text();
                seenIcon = box->icon();
                buttons = box->buttons().size();
                button = box->buttons().first()->text();
                overDialog =
                    box->parentWidget() != nullptr && box->parentWidget()->window() == window;
                box->buttons().first()->click();
            });
            result = AfxMessageBox(text, type);
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        QCOMPARE(result, IDOK);
        QCOMPARE(title, QString("TestCaption"));
        QCOMPARE(shown, QString::fromWCharArray(text));
        QCOMPARE(seenIcon, icon);
        QCOMPARE(buttons, 1);
        QCOMPARE(button, QString("确定"));
        QVERIFY(overDialog);
    }

    void dialogUnitsRoundLikeMulDiv() {
        const CDialogUnits units(6, 13);
        QCOMPARE(units.ToPixelsX(1), 2); // 1.5
        QCOMPARE(units.ToPixelsX(2), 3);
        QCOMPARE(units.ToPixelsX(298), 447);
        QCOMPARE(units.ToPixelsY(3), 5); // 4.875
        QCOMPARE(units.ToPixelsY(4), 7); // 6.5
        QCOMPARE(units.ToPixelsX(-1), -2);
        QCOMPARE(units.ToPixels(1, 2, 3, 4), QRect(2, 3, 5, 7));
    }

    void unitsScaleWithTheFont() {
        QFont small = ChooseDialogFont(QStringLiteral("宋体"), 9);
        QFont large = small;
        large.setPointSize(18);
        const CDialogUnits a = CDialogUnits::FromFont(small);
        const CDialogUnits b = CDialogUnits::FromFont(large);
        QVERIFY(a.BaseX() > 0 && a.BaseY() > 0);
        QVERIFY(b.BaseX() > a.BaseX());
        QVERIFY(b.BaseY() > a.BaseY());
        QCOMPARE(a.BaseY(), QFontMetrics(small).height());
    }

    void missingFaceFallsBackToAChineseFont() {
        const QFont font = ChooseDialogFont(QStringLiteral("No Such Face 3141"), 9);
        QCOMPARE(font.pointSize(), 9);
        QVERIFY2(QFontDatabase::families(QFontDatabase::SimplifiedChinese)
                     .contains(QFontInfo(font).family()),
                 qPrintable(QFontInfo(font).family()));
        const QFontMetrics metrics(font);
        for (char32_t ch : QStringLiteral("摄像头参数保存确定").toUcs4())
            QVERIFY(metrics.inFontUcs4(ch));
    }

    void installedFaceIsKept() {
        const QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
        if (chinese.isEmpty())
            QSKIP("no Chinese font installed");
        QCOMPARE(ChooseDialogFont(chinese.last(), 12).family(), chinese.last());
    }

    void stringsAndCommonControls() {
        CString text(L"unchanged");
        QVERIFY(!text.LoadString(4242));
        QCOMPARE(QString::fromWCharArray(text), QString("unchanged"));
        QVERIFY(text.LoadString(IDS_ABOUTBOX));
        QCOMPARE(QString::fromWCharArray(text),
                 QString::fromWCharArray(FindResourceString(IDS_ABOUTBOX)));
        QVERIFY(!text.IsEmpty());

        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        QCOMPARE(InitCommonControlsEx(&init), TRUE);
        init.dwSize = 4;
        QCOMPARE(InitCommonControlsEx(&init), FALSE);
    }

    void iconGroupDecodesEveryImage() {
        CTestApp app;
        const HICON icon = app.LoadIcon(IDI_APP_ICON);
        QVERIFY(icon != nullptr);
        QCOMPARE(app.LoadIcon(IDI_APP_ICON), icon); // shared, as loaded icons are
        QCOMPARE(app.LoadIcon(4242), static_cast<HICON>(nullptr));
        // One image per size for the window system, of the two 32 px ones the deeper.
        QCOMPARE(icon->ToQIcon().availableSizes(),
                 QList<QSize>({{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {256, 256}}));
    }

    // The image drawn at a size and device pixel ratio: the icon's own image
    // of that many pixels (its index), else the next larger scaled down (-1).
    void iconImageFitsSizeTimesPixelRatio() {
        CTestApp app;
        const HICON icon = app.LoadIcon(IDI_APP_ICON);
        QVERIFY(icon != nullptr);
        for (const auto& [size, ratio, source] : {std::tuple{32, 1.0, 2},
                                                  {16, 1.0, 1},
                                                  {16, 2.0, 2},
                                                  {16, 1.5, 3},
                                                  {32, 1.5, 4},
                                                  {32, 2.0, 5},
                                                  {256, 1.0, 6},
                                                  {16, 1.25, -1},
                                                  {32, 3.0, -1}}) {
            const QPixmap pixmap = icon->Pixmap(size, ratio);
            QImage shown = pixmap.toImage();
            shown.setDevicePixelRatio(1);
            QCOMPARE(pixmap.deviceIndependentSize(), QSizeF(size, size));
            if (source >= 0)
                QCOMPARE(shown, icon->images[size_t(source)].convertToFormat(shown.format()));
        }
    }
};

QTEST_MAIN(FrameworkTest)
#include "framework_test.moc"
