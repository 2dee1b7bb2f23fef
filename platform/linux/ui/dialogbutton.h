// The push button of a dialog window: Qt's button, with the keyboard focus
// shown as a dotted rectangle inside it.
#pragma once

#include <QPushButton>

class CDialogButton : public QPushButton {
public:
    using QPushButton::QPushButton;

    // How far the focus rectangle lies inside the button's edges, in pixels:
    // clear of the default button's frame, clear of the text.
    static constexpr int kFocusInset = 3;

protected:
    void paintEvent(QPaintEvent* event) override;
};
