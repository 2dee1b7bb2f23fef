// CVK37SetDlg: the main dialog. It lists the video capture devices by
// friendly name, saves the chosen one's parameters to the parameter file,
// opens its property pages, and gives it the parameter file's settings back.
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
    afx_msg void OnProperties();
    afx_msg void OnLoadParameters();
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
    // The buttons that act on the chosen device work only while one is listed.
    void EnableDeviceButtons(bool enable);
    // The id of the chosen device, read from the list; empty for none.
    std::wstring ChosenDeviceId();
    // Looks the chosen device up in a fresh enumeration that the holder keeps:
    // its position now, or -1 when it is gone. A list that changed is shown
    // as found, with the device still selected.
    int LocateChosenDevice(const std::wstring& id);
    // The property pages of the device with this id, in the system's frame.
    void ShowPropertyPages(const std::wstring& id);
    // The parameter file's settings into the device with this id, and the box
    // that says what happened.
    void LoadParameters(const std::wstring& id);
    // Ends a busy stretch: devices that came or went meanwhile are listed now.
    void EndBusy();

    HICON m_hIcon;
    // The caption's icon, of the size the system draws there at its DPI.
    HICON m_hSmallIcon;
    CCaptureDevice m_CaptureDevice;
    CComboBox m_cbDevice;
    int m_nDeviceIndex;
    // The id of each listed device, in list order; empty where unreadable.
    std::vector<std::wstring> m_deviceIds;
    // While a save, a restore or the property frame runs, their message boxes
    // included, the holder and the list are theirs: a device change is
    // remembered and handled afterwards.
    bool m_bBusy = false;
    bool m_bRefreshPending = false;
};
