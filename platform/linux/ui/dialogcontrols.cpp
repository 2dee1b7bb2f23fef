// The controls of a dialog window, made from the items of its template:
// their window classes, styles, texts, places in pixels and tab order.
#include "platform/linux/ui/dialogwindow.h"

#include "platform/linux/ui/dialogbutton.h"
#include "platform/linux/ui/handles.h"

#include <QComboBox>
#include <QLabel>
#include <QListView>

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

void CDialogWindow::BuildControls(const DialogTemplate& tpl) {
    QWidget* previousTabStop = nullptr;
    QLabel* pendingBuddyLabel = nullptr;
    for (size_t i = 0; i < tpl.itemCount; ++i) {
        const DialogItemTemplate& item = tpl.items[i];
        QWidget* control = BuildControl(item);
        if (control == nullptr)
            continue;
        SetControlId(control, item.id);
        m_controls.push_back({control, m_controls.empty() || (item.style & WS_GROUP) != 0});
        control->installEventFilter(this);
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
}

QWidget* CDialogWindow::BuildControl(const DialogItemTemplate& item) {
    const QRect rect = m_units.ToPixels(item.x, item.y, item.cx, item.cy);
    const QString text = ToQString(item.text);

    if (IsClass(item, "BUTTON")) {
        auto* button = new CDialogButton(text, this);
        button->setAutoDefault(false);
        button->setDefault((item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
        button->setGeometry(rect);
        const int id = item.id;
        connect(button, &QPushButton::clicked, this, [this, id] { SendClick(id); });
        return button;
    }

    if (IsClass(item, "COMBOBOX")) {
        auto* combo = new QComboBox(this);
        combo->setEditable((item.style & 0x3u) != CBS_DROPDOWNLIST);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // The template's height is the height with the list dropped down.
        const int closedHeight = combo->sizeHint().height();
        combo->setGeometry(rect.x(), rect.y(), rect.width(), closedHeight);
        const int itemHeight = combo->fontMetrics().height() + 2;
        combo->setMaxVisibleItems(qMax(1, (rect.height() - closedHeight) / itemHeight));
        combo->setProperty("vk37Sorted", (item.style & CBS_SORT) != 0);
        return combo;
    }

    if (IsClass(item, "STATIC")) {
        auto* label = new QLabel(this);
        const DWORD type = item.style & SS_TYPEMASK;
        if (type == SS_ICON) {
            const int cx = GetSystemMetrics(SM_CXICON);
            const int cy = GetSystemMetrics(SM_CYICON);
            if (HICON icon = LoadResourceIcon(ResourceNumber(item.text)))
                label->setPixmap(icon->Pixmap(cx, devicePixelRatioF()));
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

    // A class the templates do not use: keep its place visible but inert.
    auto* placeholder = new QWidget(this);
    placeholder->setGeometry(rect);
    return placeholder;
}
