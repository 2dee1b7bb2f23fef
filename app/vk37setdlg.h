// CVK37SetDlg: the main dialog. It lists the video capture devices by
// friendly name and saves the chosen one's parameters to the parameter file.
#pragma once

#include "capture/capturedevice.h"
#include "platform/framework.h"
#include "res/resource.h"

#include <string>
#include <vector>

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
    // A capture device arrived or went: the list is made afresh.
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);

    DECLARE_MESSAGE_MAP()

    // Fills the list from the holder's devices, remembering each one's id.
    void FillDeviceList();
    // Lists the system's devices afresh; the holder's list is empty again after.
    void ListDevices();
    // Selects the listed device with this id, or the first entry when it is
    // not listed (or the id is empty).
    void SelectDevice(const std::wstring& id);
    // The list made afresh with the chosen device still chosen, wherever it is now.
    void RefreshDeviceList();

    HICON m_hIcon;
    // The caption's icon, of the size the system draws there at its DPI.
    HICON m_hSmallIcon;
    CCaptureDevice m_CaptureDevice;
    CComboBox m_cbDevice;
    int m_nDeviceIndex;
    // The id of each listed device, in list order; empty where unreadable.
    std::vector<std::wstring> m_deviceIds;
    // While a save runs, its message boxes included, the holder and the list
    // are the save's: a device change is remembered and handled afterwards.
    bool m_bSaving = false;
    bool m_bRefreshPending = false;
};
