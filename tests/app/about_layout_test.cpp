// The main dialog's system menu and About box, and how both dialogs are laid
// out in each language: dialog units of the font in use, glyphs, texts that
// fit, icons.
#include "app/aboutdlg.h"
#include "platform/linux/resources.h"
#include "platform/linux/ui/dialogcontrols.h"
#include "platform/linux/ui/uiframework.h"
#include "tests/app/dialogtestsupport.h"
#include "tests/app/fakecameras.h"
#include "tests/platform/linux/ui/modaldriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QtTest>

namespace {

void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window, key,
                    modifiers);
}

// What the test saw of one About box.
struct SeenAbout {
    QString title;
    QStringList labels;
    bool hasIcon = false;
    bool ownerDisabled = false;
    QPoint centreOffset;
};

// Records the About box that opens over main, then closes it with key.
void CloseNextAbout(QWidget* main, Qt::Key key, QList<SeenAbout>* seen) {
    WhenModalAppears(main, [main, key, seen](QWidget* about) {
        SeenAbout s;
        s.title = about->windowTitle();
        for (QLabel* label : about->findChildren<QLabel*>()) {
            if (!label->pixmap().isNull())
                s.hasIcon = true;
            else
                s.labels << label->text();
        }
        s.ownerDisabled = !main->isEnabled();
        s.centreOffset = about->geometry().center() - main->geometry().center();
        seen->append(s);
        Press(about, key);
    });
}

// Pixel size of dialog units by the font's own metrics, as the window system
// computes it: average letter width and font height, MulDiv-rounded.
struct Units {
    explicit Units(const QFont& font) {
        const QFontMetrics metrics(font);
        baseX = (metrics.horizontalAdvance(
                     QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                     26 +
                 1) /
                2;
        baseY = metrics.height();
    }
    int X(int dlu) const { return (dlu * baseX + 2) / 4; }
    int Y(int dlu) const { return (dlu * baseY + 4) / 8; }
    int baseX, baseY;
};

// Whether text (without its access key's "&") overflows control: it must
// fit inside a button's frame and margins of 2 dialog units a side (and a
// check box's box), on as many lines as the control holds.
bool Clipped(const QWidget* control, const QString& text, const QFontMetrics& metrics,
             const Units& units) {
    int frame = 0;
    if (qobject_cast<const QPushButton*>(control))
        frame = units.X(4);
    else if (qobject_cast<const QCheckBox*>(control))
        frame = units.X(12);
    return metrics.horizontalAdvance(QString(text).remove('&')) + frame >
           control->width() * qMax(1, control->height() / metrics.lineSpacing());
}

QWidget* ControlAt(QWidget* window, const DialogItemTemplate& item, const CWnd& dlg) {
    if (item.id != -1)
        return DialogControl(dlg, item.id);
    // Static controls share the id -1; tell them apart by their place.
    for (QLabel* label : window->findChildren<QLabel*>())
        if (label->text() == QString::fromWCharArray(item.text) ||
            (!label->pixmap().isNull() && item.text[0] == L'#'))
            return label;
    return nullptr;
}

} // namespace

class AboutLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InitFrameworkUi();
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    }
    void cleanupTestCase() { CoUninitialize(); }

    void systemMenuOpensAboutTwiceLeavingTheList() {
        CFakeCameraRegistration cameras({{L"Zeta Camera"}, {L"Alpha Camera"}});
        const int giveUps = DriverGiveUps();
        CTestDlg dlg;
        QStringList menuTexts, itemsAfter;
        QList<bool> separators;
        QList<SeenAbout> abouts;
        int selectionAfter = -2;
        bool enabledAfter = false;
        bool focusKept = false;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            QComboBox* combo = qobject_cast<QComboBox*>(DialogControl(dlg, IDC_DEVICE_COMBO));
            combo->setCurrentIndex(1);
            QWidget* save = DialogControl(dlg, IDC_SAVE_BUTTON);
            save->setFocus();

            // First time from the keyboard.
            WhenPopupAppears([&](QMenu* menu) {
                for (QAction* action : menu->actions()) {
                    menuTexts << action->text();
                    separators << action->isSeparator();
                }
                CloseNextAbout(window, Qt::Key_Return, &abouts);
                menu->setActiveAction(menu->actions().last());
                QTest::keyClick(menu, Qt::Key_Return);
            });
            Press(window, Qt::Key_F10, Qt::ShiftModifier);

            // Then with the mouse, over the device list.
            WhenPopupAppears([&](QMenu* menu) {
                CloseNextAbout(window, Qt::Key_Escape, &abouts);
                menu->setActiveAction(menu->actions().last());
                QTest::keyClick(menu, Qt::Key_Return);
            });
            QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(5, 5),
                                         combo->mapToGlobal(QPoint(5, 5)));
            QCoreApplication::sendEvent(combo, &rightClick);

            for (int i = 0; i < combo->count(); ++i)
                itemsAfter << combo->itemText(i);
            selectionAfter = combo->currentIndex();
            enabledAfter = window->isEnabled();
            // Enter must still press the button that had the focus.
            focusKept = window->focusWidget() == save;
            Press(window, Qt::Key_Escape);
        });
        QCOMPARE(dlg.DoModal(), IDCANCEL);
        QCOMPARE(DriverGiveUps(), giveUps);

        QVERIFY(menuTexts.size() >= 3);
        QCOMPARE(separators.last(), false);
        QCOMPARE(separators[separators.size() - 2], true);
        QCOMPARE(menuTexts.last(), QString::fromWCharArray(FindResourceString(IDS_ABOUTBOX)));

        QCOMPARE(abouts.size(), 2);
        for (const SeenAbout& about : abouts) {
            QCOMPARE(about.title, QString("关于 VK37Set"));
            QCOMPARE(about.labels, QStringList({"VK37Set 1.0 版"}));
            QVERIFY(about.hasIcon);
            QVERIFY(about.ownerDisabled);
            QVERIFY2(qAbs(about.centreOffset.x()) <= 1 && qAbs(about.centreOffset.y()) <= 1,
                     qPrintable(
                         QString("%1,%2").arg(about.centreOffset.x()).arg(about.centreOffset.y())));
        }
        QCOMPARE(itemsAfter, QStringList({"Zeta Camera", "Alpha Camera"}));
        QCOMPARE(selectionAfter, 1);
        QVERIFY(enabledAfter);
        QVERIFY(focusKept);
    }

    // The property frame and its pages are built from their templates the
    // same way, with controls the dialogs above do not have.
    void propertyPageTextsFit() {
        for (const LANGID language : {kLanguageChinese, kLanguageEnglish}) {
            for (const int id : {IDD_PROPERTY_FRAME, IDD_PROCAMP_PAGE, IDD_CAMERACONTROL_PAGE}) {
                const DialogTemplate* tpl = FindDialogTemplate(id, language);
                QVERIFY(tpl != nullptr && tpl->language == language);
                QWidget page;
                page.setFont(
                    ChooseDialogFont(QString::fromWCharArray(tpl->fontName), tpl->pointSize));
                const Units units(page.font());
                const QFontMetrics metrics(page.font());
                for (const CTemplateControl& control :
                     BuildTemplateControls(&page, CDialogUnits::FromFont(page.font()), *tpl)) {
                    const QAbstractButton* button = qobject_cast<QAbstractButton*>(control.widget);
                    const QLabel* label = qobject_cast<QLabel*>(control.widget);
                    const QString text = button ? button->text() : label ? label->text() : "";
                    QVERIFY2(!Clipped(control.widget, text, metrics, units),
                             qPrintable(QString("%1 in %2: %3").arg(id).arg(language).arg(text)));
                }
            }
        }
    }

    void layoutFollowsDialogUnits_data() {
        QTest::addColumn<int>("templateId");
        QTest::addColumn<QByteArray>("locale");
        for (const char* locale : {"zh_CN.UTF-8", "en_US.UTF-8"}) {
            QTest::addRow("main dialog, %s", locale) << IDD_MAIN_DIALOG << QByteArray(locale);
            QTest::addRow("About box, %s", locale) << IDD_ABOUTBOX << QByteArray(locale);
        }
    }
    void layoutFollowsDialogUnits() {
        QFETCH(int, templateId);
        QFETCH(QByteArray, locale);
        qputenv("LC_ALL", locale); // as if the program had started in it
        const auto restore = qScopeGuard([] { qputenv("LC_ALL", "C.UTF-8"); });
        const DialogTemplate* tpl = FindDialogTemplate(templateId);
        QVERIFY(tpl != nullptr);
        const bool chinese = locale.startsWith("zh");
        QCOMPARE(tpl->language, chinese ? kLanguageChinese : kLanguageEnglish);
        CFakeCameraRegistration cameras({{L"Camera"}});
        CTestDlg mainDlg;
        CAboutDlg aboutDlg;
        CDialog& dlg = templateId == IDD_ABOUTBOX ? static_cast<CDialog&>(aboutDlg) : mainDlg;
        QStringList problems;
        QString family;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            const Units units(window->font());
            family = QFontInfo(window->font()).family();
            const QFontMetrics metrics(window->font());
            if (window->size() != QSize(units.X(tpl->cx), units.Y(tpl->cy)))
                problems << QString("dialog size %1x%2").arg(window->width()).arg(window->height());
            for (size_t i = 0; i < tpl->itemCount; ++i) {
                const DialogItemTemplate& item = tpl->items[i];
                QWidget* control = ControlAt(window, item, dlg);
                if (control == nullptr) {
                    problems << QString("no control for item %1").arg(i);
                    continue;
                }
                const QRect want(units.X(item.x), units.Y(item.y), units.X(item.cx),
                                 units.Y(item.cy));
                const QRect got = control->geometry();
                const bool isCombo = qobject_cast<QComboBox*>(control) != nullptr;
                const bool isIcon = item.text != nullptr && item.text[0] == L'#';
                // A combo box's template height includes its dropped list and an
                // icon control takes the icon's size: only their origin is fixed.
                const bool ok = (isCombo || isIcon) ? got.topLeft() == want.topLeft() &&
                                                          (isIcon || got.width() == want.width())
                                                    : got == want;
                if (!ok)
                    problems << QString("item %1 at %2,%3 %4x%5")
                                    .arg(i)
                                    .arg(got.x())
                                    .arg(got.y())
                                    .arg(got.width())
                                    .arg(got.height());
                // Every character of every text comes from the font itself.
                const QString text = QString::fromWCharArray(item.text);
                if (!isIcon)
                    for (char32_t ch : text.toUcs4())
                        if (!metrics.inFontUcs4(ch))
                            problems << QString("no glyph for U+%1").arg(ch, 4, 16);
                if (!isIcon && !isCombo && Clipped(control, text, metrics, units))
                    problems << "clipped: " + text;
            }
            for (char32_t ch : window->windowTitle().toUcs4())
                if (!metrics.inFontUcs4(ch))
                    problems << QString("no glyph in caption for U+%1").arg(ch, 4, 16);
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        QCOMPARE(problems, QStringList());
        if (chinese)
            QVERIFY2(QFontDatabase::families(QFontDatabase::SimplifiedChinese).contains(family),
                     qPrintable(family));
    }

    // In English, the texts the Linux framework shows itself where Windows
    // shows its own (the menu's close item, the message box's button).
    void frameworkTextsSpeakTheLocalesLanguage() {
        qputenv("LC_ALL", "en_US.UTF-8");
        const auto restore = qScopeGuard([] { qputenv("LC_ALL", "C.UTF-8"); });
        CFakeCameraRegistration cameras({});
        CTestDlg dlg;
        QStringList seen;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            WhenPopupAppears([&](QMenu* menu) {
                for (QAction* action : menu->actions())
                    seen << action->text();
                menu->close();
            });
            Press(window, Qt::Key_F10, Qt::ShiftModifier);
            WhenModalAppears(window, [&](QWidget* box) {
                for (auto* button : box->findChildren<QPushButton*>())
                    seen << button->text();
                box->close();
            });
            AfxMessageBox(L"", MB_OK);
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        QCOMPARE(seen, QStringList({"&Close\tAlt+F4", "", "&About VK37Set...", "OK"}));
    }

    void windowIconComesFromTheIconGroup() {
        CFakeCameraRegistration cameras({});
        CTestDlg dlg;
        QList<QSize> sizes;
        LRESULT dragIcon = 0;
        WhenModalAppears(nullptr, [&](QWidget* window) {
            sizes = window->windowIcon().availableSizes();
            dragIcon = dlg.SendMessage(WM_QUERYDRAGICON);
            Press(window, Qt::Key_Escape);
        });
        dlg.DoModal();
        QVERIFY(dlg.m_hIcon != nullptr);
        QCOMPARE(dragIcon, reinterpret_cast<LRESULT>(dlg.m_hIcon));
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
    }

private:
    CWinApp m_app{L"VK37Set"};
};

QTEST_MAIN(AboutLayoutTest)
#include "about_layout_test.moc"
