// The focus rectangle of a dialog's push buttons. Styles such as Fusion mark
// the focused button and the default button with the same frame, so the
// focus on the default button, where it starts, would not show at all; the
// window system draws its own mark for the focus, apart from that frame.
#include "platform/linux/ui/dialogbutton.h"

#include <QPainter>

void CDialogButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    // Only in the active window: hasFocus() is false elsewhere, as the window
    // system shows no focus in a window behind another.
    if (!hasFocus())
        return;
    const QRect r = rect().adjusted(kFocusInset, kFocusInset, -kFocusInset, -kFocusInset);
    if (r.width() < 2 || r.height() < 2)
        return;
    // Every other pixel, as the window system's focus rectangle: it shows on
    // any face colour without hiding it.
    QPainter painter(this);
    painter.setBrushOrigin(r.topLeft());
    const QBrush dots(palette().color(QPalette::ButtonText), Qt::Dense4Pattern);
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), dots);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), dots);
    painter.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), dots);
    painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), dots);
}
