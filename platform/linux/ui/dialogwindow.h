// The Qt window of one running CDialog: built from the dialog's template,
// it turns keys, clicks, the close button, the context menu and paint events
// into the messages the dialog's message map routes.
#pragma once

#include "platform/framework.h"
#include "platform/linux/resources.h"
#include "platform/linux/ui/dialogfont.h"

#include <QDialog>
#include <QPushButton>

#include <memory>
#include <vector>

class CDialogWindow : public QDialog {
    Q_OBJECT

public:
    CDialogWindow(CDialog* pDialog, const DialogTemplate& tpl);
    ~CDialogWindow() override;

    static CDialogWindow* FromHandle(HWND hWnd);
    // The innermost dialog window that is running, or null.
    static CDialogWindow* Active();

    CDialog* Dialog() const { return m_pDialog; }
    CMenu* SystemMenu() { return &m_systemMenu; }
    const CDialogUnits& Units() const { return m_units; }
    QWidget* Control(int id) const;
    QWidget* FirstTabStop() const;
    QPushButton* DefaultButton() const;

    // The painter of the paint event being handled, or null outside one.
    QPainter* CurrentPainter() const { return m_pPainter; }
    void SetCurrentPainter(QPainter* painter) { m_pPainter = painter; }

    // Runs the window modally over owner (null: centred on the screen) and
    // returns the dialog's result.
    int RunModal(QWidget* owner);
    void End(int result);

    // Sends a click of control id to the dialog, as its notification would.
    void SendClick(int id);
    void ShowSystemMenu(const QPoint& globalPos, bool fromKeyboard);
    // WM_SETICON: the big or small icon of the window; returns the previous one.
    HICON SetIcon(int type, HICON icon);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    void reject() override;

private:
    void BuildControls(const DialogTemplate& tpl);
    void PlaceCentred(QWidget* owner);
    bool HandleMenuKey(QKeyEvent* event);
    bool HandleGroupArrow(QObject* watched, QKeyEvent* event);

    CDialog* m_pDialog;
    CDialogUnits m_units;
    std::unique_ptr<HMENU__> m_pMenuItems;
    CMenu m_systemMenu;
    QPainter* m_pPainter = nullptr;
    bool m_bMenuOpen = false;
    HICON m_hIcons[2] = {nullptr, nullptr}; // ICON_SMALL, ICON_BIG
    // The controls in template order, each marked when it starts a keyboard
    // group; the template's styles are what decides the groups.
    struct GroupedControl {
        QWidget* widget;
        bool startsGroup;
    };
    std::vector<GroupedControl> m_controls;
};
