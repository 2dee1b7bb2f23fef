// What the framework's opaque handles stand for on Qt: a window handle is its
// widget, an icon handle holds the images of one icon group, a device context
// handle a painter, a menu handle the items appended to it.
#pragma once

#include "platform/framework.h"

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPainter>
#include <QWidget>

#include <string>
#include <vector>

struct HICON__ {
    std::vector<QImage> images; // in the icon file's order
    // One image per size, of the greatest depth, as Windows chooses among
    // images of one size.
    QIcon ToQIcon() const;
    // The image fitting size (in device-independent pixels) at a device pixel
    // ratio: the smallest at least size * ratio pixels wide, else the largest,
    // scaled to fit if it does not, and marked with the ratio.
    QPixmap Pixmap(int size, qreal devicePixelRatio) const;
};

struct HDC__ {
    QPainter* painter;
};

struct HMENU__ {
    struct Item {
        UINT flags;
        UINT_PTR id;
        std::wstring text;
    };
    std::vector<Item> items;
};

inline QWidget* WidgetFromHandle(HWND hWnd) {
    return reinterpret_cast<QWidget*>(hWnd);
}
inline HWND HandleFromWidget(QWidget* widget) {
    return reinterpret_cast<HWND>(widget);
}

// The control id a dialog's widget was built for; -1 for none.
int ControlId(const QWidget* widget);
void SetControlId(QWidget* widget, int id);

// The built-in behaviour of a window: the dialog's, or its control class's.
LRESULT CallClassProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// The shared icon of icon group nID of the program's resources, or null.
HICON LoadResourceIcon(int nID);

inline QString ToQString(LPCWSTR text) {
    return text != nullptr ? QString::fromWCharArray(text) : QString();
}
