// The built-in behaviour of the framework's windows, what DefWindowProc does
// for a message no map handled: the dialog window's and the combo box's.
#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"

#include <QComboBox>

namespace {

LRESULT DialogProc(CDialogWindow* window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETICON:
        return reinterpret_cast<LRESULT>(
            window->SetIcon(static_cast<int>(wParam), reinterpret_cast<HICON>(lParam)));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0u) == SC_CLOSE)
            window->Dialog()->SendMessage(WM_CLOSE, 0, 0);
        return 0;
    case WM_NEXTDLGCTL:
        // Only the form that names the control: the focus goes to it.
        if (LOWORD(lParam) != 0) {
            if (QWidget* control = WidgetFromHandle(reinterpret_cast<HWND>(wParam)))
                control->setFocus(Qt::OtherFocusReason);
        }
        return 0;
    case WM_CLOSE:
        // A dialog closes as if its cancel button were pressed.
        window->SendClick(IDCANCEL);
        return 0;
    case WM_ICONERASEBKGND: {
        auto* hdc = reinterpret_cast<HDC>(wParam);
        if (hdc == nullptr || hdc->painter == nullptr || !hdc->painter->isActive())
            return 0;
        hdc->painter->fillRect(window->rect(), window->palette().window());
        return 1;
    }
    default:
        return 0;
    }
}

// Where a new item goes: at the end, or in order for a sorted list.
int InsertPosition(const QComboBox* combo, const QString& text) {
    if (!combo->property("vk37Sorted").toBool())
        return combo->count();
    int position = 0;
    while (position < combo->count() &&
           QString::compare(combo->itemText(position), text, Qt::CaseInsensitive) <= 0)
        ++position;
    return position;
}

LRESULT ComboProc(QComboBox* combo, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case CB_ADDSTRING: {
        const auto* text = reinterpret_cast<LPCWSTR>(lParam);
        if (text == nullptr)
            return CB_ERR;
        const QString item = QString::fromWCharArray(text);
        const int position = InsertPosition(combo, item);
        const bool hadSelection = combo->currentIndex() >= 0;
        combo->insertItem(position, item);
        // Adding an item never selects it.
        if (!hadSelection && combo->currentIndex() >= 0)
            combo->setCurrentIndex(-1);
        return position;
    }
    case CB_GETCOUNT:
        return combo->count();
    case CB_RESETCONTENT:
        combo->clear();
        return 0;
    case CB_GETCURSEL:
        return combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
    case CB_SETCURSEL: {
        const int index = static_cast<int>(static_cast<INT_PTR>(wParam));
        if (index < 0 || index >= combo->count()) {
            combo->setCurrentIndex(-1);
            return CB_ERR;
        }
        combo->setCurrentIndex(index);
        return index;
    }
    default:
        return 0;
    }
}

} // namespace

LRESULT CallClassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CDialogWindow* window = CDialogWindow::FromHandle(hWnd))
        return DialogProc(window, message, wParam, lParam);
    if (auto* combo = qobject_cast<QComboBox*>(WidgetFromHandle(hWnd)))
        return ComboProc(combo, message, wParam, lParam);
    return 0;
}
