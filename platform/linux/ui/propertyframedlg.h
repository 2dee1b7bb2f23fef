// The property frame: a modal dialog over its owner, from its template, with
// one tab per page and the buttons 确定, 取消 and 应用. Changes go to the
// camera as the user makes them (through a paced writer); 应用 makes the
// camera's settings the ones 取消 goes back to, 确定 keeps them, and 取消, Esc
// or the close button put back every setting that differs. A camera that
// leaves ends the frame with a message box, and nothing more is written.
#pragma once

#include "platform/framework.h"
#include "platform/linux/ui/propertypage.h"
#include "platform/linux/ui/propertywriter.h"

#include <QPointer>

#include <string>
#include <vector>

class QTabWidget;

class CPropertyFrameDlg : public CDialog {
public:
    // caption: the objects' name, which the frame's caption is made from.
    CPropertyFrameDlg(CWnd* pOwner, std::wstring caption);

    // A page to show, for the first object's interface.
    void AddPage(const CPageClass& pageClass, const CPropertyAccess& access);
    size_t PageCount() const { return m_requests.size(); }

    // -1 when no page could be shown; OpenResult() says why.
    INT_PTR DoModal() override;
    HRESULT OpenResult() const { return m_hrOpen; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    afx_msg void OnApply();
    afx_msg void OnDefaults();
    // A camera came or went: whether ours is still there.
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);

    DECLARE_MESSAGE_MAP()

private:
    struct CPageRequest {
        const CPageClass* pageClass;
        CPropertyAccess access;
    };

    HRESULT BuildPages(QTabWidget* tabs);
    void FitToPages(QTabWidget* tabs);
    void OnWritten(CPropertyRow* row, HRESULT hr);
    void OnGone();
    // No more input: the frame closes once the writes asked for are done.
    void Close(int result, bool revert);
    void UpdateApply();
    void SwitchPage(int delta);
    std::vector<CPropertyRow*> AllRows() const;

    std::wstring m_caption;
    std::vector<CPageRequest> m_requests;
    std::vector<QPointer<CPropertyPage>> m_pages;
    QPointer<QTabWidget> m_tabs;
    CPropertyWriter m_writer;
    HRESULT m_hrOpen = S_OK;
    bool m_bClosing = false;
    bool m_bGone = false;
};
