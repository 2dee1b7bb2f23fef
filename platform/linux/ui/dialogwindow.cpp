// Events of a running dialog window, turned into the dialog's messages, and
// its modal run.
#include "platform/linux/ui/dialogwindow.h"

#include "platform/linux/ui/devicenotifier.h"
#include "platform/linux/ui/handles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <vector>

namespace {

// The dialogs that are running, innermost last.
std::vector<CDialogWindow*> g_running;

} // namespace

CDialogWindow::CDialogWindow(CDialog* pDialog, const DialogTemplate& tpl)
    : QDialog(nullptr), m_pDialog(pDialog),
      m_units(CDialogUnits::FromFont(ChooseDialogFont(ToQString(tpl.fontName), tpl.pointSize))),
      m_pMenuItems(new HMENU__) {
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFont(ChooseDialogFont(ToQString(tpl.fontName), tpl.pointSize));
    setWindowTitle(ToQString(tpl.caption));

    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint;
    if ((tpl.style & WS_CAPTION) == WS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (tpl.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    setWindowFlags(flags);

    // The window's own entry of the system menu, as the window system names it.
    const wchar_t* closeItem = FindResourceString(kCloseItemStringId);
    m_pMenuItems->items.push_back({MF_STRING, SC_CLOSE, closeItem != nullptr ? closeItem : L""});
    m_systemMenu.m_hMenu = m_pMenuItems.get();

    BuildControls(tpl);
    setFixedSize(m_units.ToPixelsX(tpl.cx), m_units.ToPixelsY(tpl.cy));

    // As on Windows, where the framework registers such a dialog for device
    // notifications: a dialog that handles WM_DEVICECHANGE is told of cameras
    // coming and going.
    if (pDialog->HandlesMessage(WM_DEVICECHANGE))
        CreateDeviceNotifier(
            this, [pDialog](UINT event) { pDialog->SendMessage(WM_DEVICECHANGE, event, 0); });
}

CDialogWindow::~CDialogWindow() {
    g_running.erase(std::remove(g_running.begin(), g_running.end(), this), g_running.end());
}

CDialogWindow* CDialogWindow::FromHandle(HWND hWnd) {
    return qobject_cast<CDialogWindow*>(WidgetFromHandle(hWnd));
}

CDialogWindow* CDialogWindow::Active() {
    return g_running.empty() ? nullptr : g_running.back();
}

QWidget* CDialogWindow::Control(int id) const {
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (ControlId(child) == id)
            return child;
    return nullptr;
}

QWidget* CDialogWindow::FirstTabStop() const {
    for (QWidget* child : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if ((child->focusPolicy() & Qt::TabFocus) && child->isEnabled())
            return child;
    return nullptr;
}

QPushButton* CDialogWindow::DefaultButton() const {
    for (QPushButton* button : findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (button->isDefault())
            return button;
    return nullptr;
}

int CDialogWindow::RunModal(QWidget* owner) {
    g_running.push_back(this);
    // Disabling a window drops its focus; the owner gets it back afterwards,
    // so Enter still means what it meant before this ran.
    QPointer<QWidget> ownerFocus = owner != nullptr ? owner->focusWidget() : nullptr;
    if (owner != nullptr) {
        // Owned, not a child: the owner can be disabled while this runs
        // without disabling this window with it.
        winId();
        if (owner->windowHandle() != nullptr)
            windowHandle()->setTransientParent(owner->windowHandle());
        owner->setEnabled(false);
    }
    PlaceCentred(owner);
    const int result = exec();
    if (owner != nullptr) {
        owner->setEnabled(true);
        owner->activateWindow();
        if (ownerFocus != nullptr)
            ownerFocus->setFocus(Qt::OtherFocusReason);
    }
    g_running.erase(std::remove(g_running.begin(), g_running.end(), this), g_running.end());
    return result;
}

void CDialogWindow::PlaceCentred(QWidget* owner) {
    QRect area;
    if (owner != nullptr)
        area = owner->frameGeometry();
    else if (QScreen* screen = QGuiApplication::primaryScreen())
        area = screen->availableGeometry();
    if (!area.isValid())
        return;
    // The client area is what is centred: frames differ between window managers.
    QRect client(QPoint(0, 0), size());
    client.moveCenter(area.center());
    setGeometry(client);
}

void CDialogWindow::End(int result) {
    QDialog::done(result);
}

void CDialogWindow::SendClick(int id) {
    QWidget* control = Control(id);
    m_pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                           reinterpret_cast<LPARAM>(HandleFromWidget(control)));
}

void CDialogWindow::keyPressEvent(QKeyEvent* event) {
    if (HandleMenuKey(event))
        return;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (plain) {
            // A focused push button takes Enter; otherwise the default button does.
            QWidget* focus = focusWidget();
            if (auto* button = qobject_cast<QPushButton*>(focus); button && button->isEnabled())
                SendClick(ControlId(button));
            else if (QPushButton* def = DefaultButton(); def && def->isEnabled())
                SendClick(ControlId(def));
            else
                SendClick(IDOK);
            return;
        }
        break;
    case Qt::Key_Escape:
        if (plain) {
            SendClick(IDCANCEL);
            return;
        }
        break;
    case Qt::Key_F1:
        if (plain) {
            m_pDialog->SendMessage(WM_COMMAND, MAKEWPARAM(ID_HELP, BN_CLICKED), 0);
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

bool CDialogWindow::HandleMenuKey(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu && event->modifiers() == Qt::NoModifier;
    const bool shiftF10 = event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier;
    // Alt+Space is the system menu's own key. Where no window manager takes
    // it, it arrives here, and buttons and combo boxes would take it for a
    // plain Space: the focused 确定 would end the dialog.
    const bool altSpace = event->key() == Qt::Key_Space && event->modifiers() == Qt::AltModifier;
    if (altSpace) {
        // Dropped from the window's corner, where the system menu drops.
        ShowSystemMenu(mapToGlobal(QPoint(0, 0)), true);
        return true;
    }
    if (!menuKey && !shiftF10)
        return false;
    QWidget* anchor = focusWidget() != nullptr ? focusWidget() : this;
    ShowSystemMenu(anchor->mapToGlobal(QPoint(0, anchor->height())), true);
    return true;
}

bool CDialogWindow::HandleGroupArrow(QObject* watched, QKeyEvent* event) {
    // Buttons leave the arrows to the dialog, which keeps the focus inside the
    // keyboard group; controls with a use for them (combo boxes) keep them.
    if (qobject_cast<QAbstractButton*>(watched) == nullptr)
        return false;
    if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    bool forward = true;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left:
        forward = false;
        break;
    case Qt::Key_Down:
    case Qt::Key_Right:
        break;
    default:
        return false;
    }
    const auto self =
        std::find_if(m_controls.begin(), m_controls.end(),
                     [watched](const GroupedControl& c) { return c.widget == watched; });
    if (self == m_controls.end())
        return false;
    auto first = self;
    while (first != m_controls.begin() && !first->startsGroup)
        --first;
    auto last = self + 1;
    while (last != m_controls.end() && !last->startsGroup)
        ++last;
    const ptrdiff_t count = last - first;
    const ptrdiff_t at = self - first;
    for (ptrdiff_t step = 1; step < count; ++step) {
        QWidget* candidate = first[(at + (forward ? step : count - step)) % count].widget;
        if (candidate->focusPolicy() != Qt::NoFocus && candidate->isEnabled() &&
            candidate->isVisibleTo(this)) {
            candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            break;
        }
    }
    // Even with nowhere to go the key is spent: it never leaves the group.
    return true;
}

void CDialogWindow::closeEvent(QCloseEvent* event) {
    // The dialog decides: the close button is the system menu's close command.
    event->ignore();
    m_pDialog->SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
}

void CDialogWindow::reject() {
    SendClick(IDCANCEL);
}

void CDialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    ShowSystemMenu(event->globalPos(), event->reason() == QContextMenuEvent::Keyboard);
}

bool CDialogWindow::eventFilter(QObject* watched, QEvent* event) {
    // Controls would keep these to themselves; the system menu belongs to the
    // whole dialog.
    if (event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        ShowSystemMenu(menuEvent->globalPos(), menuEvent->reason() == QContextMenuEvent::Keyboard);
        return true;
    }
    if (event->type() == QEvent::KeyPress && HandleMenuKey(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::KeyPress &&
        HandleGroupArrow(watched, static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

void CDialogWindow::ShowSystemMenu(const QPoint& globalPos, bool fromKeyboard) {
    // The window system may follow a Menu key press with its own context
    // menu event; one menu at a time.
    if (m_bMenuOpen)
        return;
    m_bMenuOpen = true;
    QMenu menu(this);
    for (const HMENU__::Item& item : m_pMenuItems->items) {
        if (item.flags & MF_SEPARATOR) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromStdWString(item.text));
        action->setData(QVariant::fromValue<qulonglong>(item.id));
        action->setEnabled((item.flags & (MF_GRAYED | MF_DISABLED)) == 0);
    }
    QAction* chosen = menu.exec(globalPos);
    m_bMenuOpen = false;
    if (chosen == nullptr)
        return;
    const QPoint local = mapFromGlobal(globalPos);
    const LPARAM where = fromKeyboard ? 0 : MAKELPARAM(local.x(), local.y());
    m_pDialog->SendMessage(WM_SYSCOMMAND, static_cast<WPARAM>(chosen->data().toULongLong()), where);
}

HICON CDialogWindow::SetIcon(int type, HICON icon) {
    HICON& slot = m_hIcons[type == ICON_BIG ? ICON_BIG : ICON_SMALL];
    HICON previous = slot;
    slot = icon;
    // The window system picks from every size of both.
    HICON__ both;
    for (HICON each : {m_hIcons[ICON_SMALL], m_hIcons[ICON_BIG]})
        if (each != nullptr)
            both.images.insert(both.images.end(), each->images.begin(), each->images.end());
    setWindowIcon(both.ToQIcon());
    return previous;
}

void CDialogWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    m_pDialog->SendMessage(WM_PAINT, 0, 0);
}

void CDialogWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange)
        update();
    QDialog::changeEvent(event);
}
