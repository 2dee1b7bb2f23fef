// CVK37SetDlg: the main dialog. It lists the video capture devices by
// friendly name and saves the chosen one's parameters to the parameter file.
#pragma once

#include "capture/capturedevice.h"
#include "platform/framework.h"
#include "res/resource.h"

class CVK37SetDlg : public CDialog {
public:
    explicit CVK37SetDlg(CWnd* pParent = nullptr);

    enum { IDD = IDD_MAIN_DIALOG };

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnSaveParameters();
    afx_msg void OnOkClicked();

    DECLARE_MESSAGE_MAP()

    HICON m_hIcon;
    CCaptureDevice m_CaptureDevice;
    CComboBox m_cbDevice;
    int m_nDeviceIndex;
};
