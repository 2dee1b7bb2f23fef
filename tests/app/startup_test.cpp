// The application's start and end: COM is up before the dialog enumerates,
// the dialog's holder releases its interfaces while COM is still up, and COM
// is shut down after that, however the dialog is closed.
#include "app/vk37set.h"
#include "platform/linux/ui/uiframework.h"
#include "res/resource.h"
#include "tests/app/fakecameras.h"
#include "tests/platform/linux/ui/modaldriver.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void PressOn(QWidget* window, Qt::Key key) {
    QTest::keyClick(window->focusWidget() != nullptr ? window->focusWidget() : window, key);
}

} // namespace

class StartupTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InitFrameworkUi(); }

    void teardownOrder_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("OK") << "ok";
        QTest::newRow("Esc") << "escape";
        QTest::newRow("close button") << "close";
    }

    void teardownOrder() {
        QFETCH(QString, how);
        QTemporaryDir dir;
        const QString previousDir = QDir::currentPath();
        QDir::setCurrent(dir.path());
        const int giveUps = DriverGiveUps();
        QVERIFY(!ComIsInitialized());

        CFakeCameraRegistration cameras({{L"Camera", true, 5}});
        CVK37SetApp app;
        bool mainWndWasDialog = false;
        int windowsOpenAtRelease = -1;
        cameras.OnFilterDestroyed([&] {
            windowsOpenAtRelease = 0;
            for (QWidget* widget : QApplication::topLevelWidgets())
                windowsOpenAtRelease += widget->isVisible() ? 1 : 0;
        });
        WhenModalAppears(nullptr, [&](QWidget* window) {
            mainWndWasDialog = app.m_pMainWnd != nullptr &&
                               app.m_pMainWnd->m_hWnd == reinterpret_cast<HWND>(window);
            // A save leaves the bound filter and both interfaces in the holder.
            WhenModalAppears(window, [](QWidget* box) {
                static_cast<QMessageBox*>(box)->buttons().first()->click();
            });
            QTest::mouseClick(DialogControl(*app.m_pMainWnd, IDC_SAVE_BUTTON), Qt::LeftButton);
            // The click left the focus on the save button, where Enter would save again.
            DialogControl(*app.m_pMainWnd, IDOK)->setFocus();
            if (how == "ok")
                PressOn(window, Qt::Key_Return);
            else if (how == "escape")
                PressOn(window, Qt::Key_Escape);
            else
                window->close();
        });
        const BOOL result = app.InitInstance();
        QDir::setCurrent(previousDir);

        QCOMPARE(result, TRUE);
        QVERIFY(mainWndWasDialog);
        QCOMPARE(app.m_pMainWnd, static_cast<CWnd*>(nullptr));
        QCOMPARE(cameras.LiveFilters(), 0);
        QCOMPARE(windowsOpenAtRelease, 0);
        // Enumeration at start-up and at the save, then the one filter
        // destroyed while COM was still up.
        QCOMPARE(cameras.Log(), (std::vector<std::string>{"enumerate com=up", "enumerate com=up",
                                                          "filter 0 destroyed com=up"}));
        QVERIFY(!ComIsInitialized());
        QCOMPARE(DriverGiveUps(), giveUps);
    }
};

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
