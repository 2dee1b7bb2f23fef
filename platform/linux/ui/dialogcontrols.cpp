// The controls of a dialog template, made from its items: their window
// classes, styles, texts, places in pixels and tab order; and a dialog
// window's controls, whose buttons send their clicks to the dialog.
#include "platform/linux/ui/dialogcontrols.h"

#include "platform/linux/ui/dialogbutton.h"
#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QSlider>
#include <QTabWidget>

#include <cstring>

namespace {

constexpr const char* kIdProperty = "vk37ControlId";

bool IsClass(const DialogItemTemplate& item, const char* name) {
    return item.className != nullptr && std::strcmp(item.className, name) == 0;
}

// "#129" names a resource by number.
int ResourceNumber(const wchar_t* text) {
    if (text == nullptr || text[0] != L'#')
        return -1;
    return static_cast<int>(std::wcstol(text + 1, nullptr, 10));
}

} // namespace

int ControlId(const QWidget* widget) {
    const QVariant id = widget != nullptr ? widget->property(kIdProperty) : QVariant();
    return id.isValid() ? id.toInt() : -1;
}

void SetControlId(QWidget* widget, int id) {
    widget->setProperty(kIdProperty, id);
}

namespace {

QWidget* BuildButton(QWidget* parent, const DialogItemTemplate& item, const QString& text) {
    const DWORD type = item.style & BS_TYPEMASK;
    if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX)
        return new QCheckBox(text, parent);
    auto* button = new CDialogButton(text, parent);
    button->setAutoDefault(false);
    button->setDefault(type == BS_DEFPUSHBUTTON);
    return button;
}

QWidget* BuildTrackbar(QWidget* parent, const DialogItemTemplate& item) {
    auto* slider = new QSlider((item.style & TBS_VERT) ? Qt::Vertical : Qt::Horizontal, parent);
    if (item.style & TBS_NOTICKS)
        slider->setTickPosition(QSlider::NoTicks);
    else if (item.style & TBS_BOTH)
        slider->setTickPosition(QSlider::TicksBothSides);
    else
        slider->setTickPosition((item.style & TBS_TOP) ? QSlider::TicksAbove : QSlider::TicksBelow);
    return slider;
}

QWidget* BuildStatic(QWidget* parent, const DialogItemTemplate& item, const QString& text,
                     const QRect& rect) {
    auto* label = new QLabel(parent);
    const DWORD type = item.style & SS_TYPEMASK;
    if (type == SS_ICON) {
        const int cx = GetSystemMetrics(SM_CXICON);
        const int cy = GetSystemMetrics(SM_CYICON);
        if (HICON icon = LoadResourceIcon(ResourceNumber(item.text)))
            label->setPixmap(icon->Pixmap(cx, parent->devicePixelRatioF()));
        label->setGeometry(rect.x(), rect.y(), cx, cy);
        return label;
    }
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    Qt::Alignment align = Qt::AlignTop | Qt::AlignLeft;
    if (type == SS_CENTER)
        align = Qt::AlignTop | Qt::AlignHCenter;
    else if (type == SS_RIGHT)
        align = Qt::AlignTop | Qt::AlignRight;
    label->setAlignment(align);
    label->setWordWrap(true);
    label->setGeometry(rect);
    return label;
}

QWidget* BuildControl(QWidget* parent, const CDialogUnits& units, const DialogItemTemplate& item) {
    const QRect rect = units.ToPixels(item.x, item.y, item.cx, item.cy);
    const QString text = ToQString(item.text);

    if (IsClass(item, "STATIC"))
        return BuildStatic(parent, item, text, rect);

    QWidget* control = nullptr;
    if (IsClass(item, "BUTTON")) {
        control = BuildButton(parent, item, text);
    } else if (IsClass(item, "COMBOBOX")) {
        auto* combo = new QComboBox(parent);
        combo->setEditable((item.style & 0x3u) != CBS_DROPDOWNLIST);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // The template's height is the height with the list dropped down.
        const int closedHeight = combo->sizeHint().height();
        combo->setGeometry(rect.x(), rect.y(), rect.width(), closedHeight);
        const int itemHeight = combo->fontMetrics().height() + 2;
        combo->setMaxVisibleItems(qMax(1, (rect.height() - closedHeight) / itemHeight));
        combo->setProperty("vk37Sorted", (item.style & CBS_SORT) != 0);
        return combo;
    } else if (IsClass(item, "msctls_trackbar32")) {
        control = BuildTrackbar(parent, item);
    } else if (IsClass(item, "SysTabControl32")) {
        control = new QTabWidget(parent);
    } else {
        // A class the templates do not use: keep its place visible but inert.
        control = new QWidget(parent);
    }
    control->setGeometry(rect);
    return control;
}

} // namespace

std::vector<CTemplateControl> BuildTemplateControls(QWidget* parent, const CDialogUnits& units,
                                                    const DialogTemplate& tpl) {
    std::vector<CTemplateControl> controls;
    QWidget* previousTabStop = nullptr;
    QLabel* pendingBuddyLabel = nullptr;
    for (size_t i = 0; i < tpl.itemCount; ++i) {
        const DialogItemTemplate& item = tpl.items[i];
        QWidget* control = BuildControl(parent, units, item);
        SetControlId(control, item.id);
        controls.push_back({control, item.id, controls.empty() || (item.style & WS_GROUP) != 0});
        if (item.style & WS_DISABLED)
            control->setEnabled(false);
        if (!(item.style & WS_VISIBLE))
            control->hide();
        if (item.style & WS_TABSTOP) {
            control->setFocusPolicy(Qt::StrongFocus);
            if (previousTabStop != nullptr)
                QWidget::setTabOrder(previousTabStop, control);
            previousTabStop = control;
            // A label's access key moves the focus to the next tab stop.
            if (pendingBuddyLabel != nullptr)
                pendingBuddyLabel->setBuddy(control);
            pendingBuddyLabel = nullptr;
        } else if (control->focusPolicy() != Qt::NoFocus) {
            control->setFocusPolicy(Qt::ClickFocus);
        }
        auto* label = qobject_cast<QLabel*>(control);
        if (label != nullptr && !(item.style & SS_NOPREFIX) &&
            label->text().contains(QLatin1Char('&')))
            pendingBuddyLabel = label;
    }
    return controls;
}

void CDialogWindow::BuildControls(const DialogTemplate& tpl) {
    for (const CTemplateControl& control : BuildTemplateControls(this, m_units, tpl)) {
        m_controls.push_back({control.widget, control.startsGroup});
        control.widget->installEventFilter(this);
        if (auto* button = qobject_cast<QAbstractButton*>(control.widget)) {
            const int id = control.id;
            connect(button, &QAbstractButton::clicked, this, [this, id] { SendClick(id); });
        }
    }
}
