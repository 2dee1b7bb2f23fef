// Polling for modal windows and popups from a timer inside the modal loop.
#include "tests/platform/linux/ui/modaldriver.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace {

constexpr int kPollMs = 10;
constexpr int kMaxPolls = 3000; // a hang guard, not a time limit under test

int g_giveUps = 0;

void GiveUp() {
    ++g_giveUps;
    if (QWidget* popup = QApplication::activePopupWidget())
        popup->close();
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            dialog->done(IDCANCEL);
}

void Poll(std::function<QWidget*()> find, std::function<void(QWidget*)> action) {
    auto* timer = new QTimer(qApp);
    auto polls = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, polls, find, action] {
        if (QWidget* found = find()) {
            timer->stop();
            timer->deleteLater();
            action(found);
        } else if (++*polls > kMaxPolls) {
            timer->stop();
            timer->deleteLater();
            GiveUp();
        }
    });
    timer->start(kPollMs);
}

} // namespace

void WhenModalAppears(QWidget* previous, std::function<void(QWidget*)> action) {
    Poll(
        [previous]() -> QWidget* {
            QWidget* modal = QApplication::activeModalWidget();
            return modal != nullptr && modal != previous && modal->isVisible() ? modal : nullptr;
        },
        std::move(action));
}

void WhenPopupAppears(std::function<void(QMenu*)> action) {
    Poll(
        []() -> QWidget* {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu != nullptr && menu->isVisible() ? menu : nullptr;
        },
        [action](QWidget* menu) { action(static_cast<QMenu*>(menu)); });
}

int DriverGiveUps() {
    return g_giveUps;
}

QWidget* DialogControl(const CWnd& dialog, int nID) {
    HWND hWnd = nullptr;
    dialog.GetDlgItem(nID, &hWnd);
    return reinterpret_cast<QWidget*>(hWnd);
}
