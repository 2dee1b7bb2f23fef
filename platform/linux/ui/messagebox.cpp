// The message box window and the framework's set-up that installs it.
#include "platform/msgbox_hook.h"
#include "platform/linux/resources.h"
#include "platform/linux/ui/dialogfont.h"
#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"
#include "platform/linux/ui/uiframework.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon IconForType(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        // No icon asked for: the framework shows the exclamation mark.
        return QMessageBox::Warning;
    }
}

QString Caption() {
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pszAppName != nullptr)
        return ToQString(pApp->m_pszAppName);
    return QCoreApplication::applicationName();
}

} // namespace

int ShowMessageBoxWindow(LPCWSTR text, UINT type, UINT) {
    QWidget* owner = CDialogWindow::Active();
    if (owner == nullptr)
        owner = QApplication::activeModalWidget();
    QMessageBox box(owner);
    box.setWindowTitle(Caption());
    box.setIcon(IconForType(type));
    box.setTextFormat(Qt::PlainText);
    box.setText(ToQString(text));
    QPushButton* ok =
        box.addButton(ToQString(FindResourceString(kOkButtonStringId)), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
    return IDOK;
}

void InitFrameworkUi() {
    // The system font of a Chinese desktop, so every window shows its
    // Chinese texts without boxes; in English, that of a Western one.
    if (GetThreadUILanguage() == kLanguageChinese)
        QApplication::setFont(ChooseDialogFont(QString(), 9));
    else
        QApplication::setFont(ChooseDialogFont(QStringLiteral("MS Shell Dlg"), 8));
    SetMessageBoxHandler(&ShowMessageBoxWindow);
}
