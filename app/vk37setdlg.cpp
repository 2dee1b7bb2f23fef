// The main dialog: filling the device list and keeping it current as devices
// come and go, the save button, OK, the About entry of the system menu and
// the minimised window's icon.
#include "app/vk37setdlg.h"

#include "app/aboutdlg.h"
#include "capture/saveparameters.h"

#include <algorithm>
#include <string>

// The save shows these entries of the string table, which capture/ knows by number.
static_assert(kNotOpenedStringId == IDS_DEVICE_NOT_OPENED);
static_assert(kSavedStringId == IDS_SAVED);
static_assert(kWriteFailedStringId == IDS_WRITE_FAILED);
static_assert(kUnknownDeviceStringId == IDS_UNKNOWN_DEVICE);

CVK37SetDlg::CVK37SetDlg(CWnd* pParent) : CDialog(IDD, pParent), m_nDeviceIndex(0) {
    m_hIcon = AfxGetApp()->LoadIcon(IDI_APP_ICON);
    // LoadIcon gives the large size; scaled down, it would blur in the caption.
    m_hSmallIcon = static_cast<HICON>(
        LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_APP_ICON), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
}

void CVK37SetDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DEVICE_COMBO, m_cbDevice);
    DDX_CBIndex(pDX, IDC_DEVICE_COMBO, m_nDeviceIndex);
}

BEGIN_MESSAGE_MAP(CVK37SetDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_SAVE_BUTTON, &CVK37SetDlg::OnSaveParameters)
ON_BN_CLICKED(IDOK, &CVK37SetDlg::OnOkClicked)
ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

BOOL CVK37SetDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu != nullptr) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));

    ListDevices();
    m_nDeviceIndex = 0;
    UpdateData(FALSE);
    return TRUE;
}

void CVK37SetDlg::ListDevices() {
    m_CaptureDevice.ClearDevices();
    m_CaptureDevice.EnumerateDevices();
    FillDeviceList();
    m_CaptureDevice.ClearDevices();
}

void CVK37SetDlg::FillDeviceList() {
    m_cbDevice.ResetContent();
    m_deviceIds.clear();
    const int nCount = m_CaptureDevice.DeviceCount();
    for (int i = 0; i < nCount; ++i) {
        std::wstring name;
        if (m_CaptureDevice.GetDeviceName(i, name) != S_OK)
            name = UnknownDeviceName();
        m_cbDevice.AddString(name.c_str());
        std::wstring id;
        m_CaptureDevice.GetDeviceId(i, id);
        m_deviceIds.push_back(id);
    }
}

void CVK37SetDlg::SelectDevice(const std::wstring& id) {
    const auto found = std::find(m_deviceIds.begin(), m_deviceIds.end(), id);
    m_nDeviceIndex = found != m_deviceIds.end() && !id.empty()
                         ? static_cast<int>(found - m_deviceIds.begin())
                         : 0;
    UpdateData(FALSE);
}

void CVK37SetDlg::RefreshDeviceList() {
    m_bRefreshPending = false;
    const int chosen = m_cbDevice.GetCurSel();
    const std::wstring id = chosen >= 0 && static_cast<size_t>(chosen) < m_deviceIds.size()
                                ? m_deviceIds[static_cast<size_t>(chosen)]
                                : L"";
    ListDevices();
    SelectDevice(id);
}

BOOL CVK37SetDlg::OnDeviceChange(UINT nEventType, DWORD_PTR) {
    if (nEventType != DBT_DEVICEARRIVAL && nEventType != DBT_DEVICEREMOVECOMPLETE)
        return TRUE;
    if (m_bSaving)
        m_bRefreshPending = true;
    else
        RefreshDeviceList();
    return TRUE;
}

void CVK37SetDlg::OnSaveParameters() {
    UpdateData(TRUE);
    const bool listed =
        m_nDeviceIndex >= 0 && static_cast<size_t>(m_nDeviceIndex) < m_deviceIds.size();
    const std::wstring id = listed ? m_deviceIds[static_cast<size_t>(m_nDeviceIndex)] : L"";
    m_bSaving = true;
    const SaveOutcome outcome = SaveParameters(m_CaptureDevice, m_nDeviceIndex, id);
    if (outcome != SaveOutcome::Saved) {
        // The system's list changed since the dialog's was made: show the
        // list the save found, with the saved device still selected where it is.
        FillDeviceList();
        SelectDevice(id);
        if (outcome == SaveOutcome::DeviceGone) {
            CString text;
            text.LoadString(IDS_DEVICE_GONE);
            AfxMessageBox(text, MB_OK | MB_ICONERROR);
        }
    }
    m_bSaving = false;
    // Devices that came or went while the save's boxes were open.
    if (m_bRefreshPending)
        RefreshDeviceList();
}

void CVK37SetDlg::OnOkClicked() {
    m_CaptureDevice.ClearDevices();
    CDialog::OnOK();
}

void CVK37SetDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CVK37SetDlg::OnPaint() {
    if (IsIconic()) {
        CPaintDC dc(this);

        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);

        const int cxIcon = GetSystemMetrics(SM_CXICON);
        const int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        const int x = (rect.Width() - cxIcon + 1) / 2;
        const int y = (rect.Height() - cyIcon + 1) / 2;

        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CVK37SetDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}
