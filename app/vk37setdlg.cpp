// The main dialog: filling the device list and keeping it current as devices
// come and go, the save, property and restore buttons, OK, the About entry
// of the system menu and the minimised window's icon.
#include "app/vk37setdlg.h"

#include "app/aboutdlg.h"
#include "app/loadreport.h"
#include "capture/paramfile.h"
#include "capture/saveparameters.h"
#include "platform/propertypages.h"

#include <algorithm>
#include <string>

// The save shows these entries of the string table, which capture/ knows by number.
static_assert(kNotOpenedStringId == IDS_DEVICE_NOT_OPENED);
static_assert(kSavedStringId == IDS_SAVED);
static_assert(kWriteFailedStringId == IDS_WRITE_FAILED);
static_assert(kUnknownDeviceStringId == IDS_UNKNOWN_DEVICE);

// A box with string-table entry nID, for a request that did nothing.
static void ShowError(UINT nID) {
    CString text;
    text.LoadString(nID);
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
}

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
ON_BN_CLICKED(IDC_PROPERTIES_BUTTON, &CVK37SetDlg::OnProperties)
ON_BN_CLICKED(IDC_LOAD_BUTTON, &CVK37SetDlg::OnLoadParameters)
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
    EnableDeviceButtons(nCount > 0);
}

void CVK37SetDlg::EnableDeviceButtons(bool enable) {
    HWND focus = GetFocus();
    for (int id : {IDC_SAVE_BUTTON, IDC_PROPERTIES_BUTTON, IDC_LOAD_BUTTON}) {
        HWND button = nullptr;
        GetDlgItem(id, &button);
        if (button == nullptr)
            continue;
        // A disabled button keeps no focus: without a move the keyboard
        // would reach no control at all.
        if (!enable && button == focus) {
            HWND list = nullptr;
            GetDlgItem(IDC_DEVICE_COMBO, &list);
            SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
        }
        EnableWindow(button, enable ? TRUE : FALSE);
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
    if (m_bBusy)
        m_bRefreshPending = true;
    else
        RefreshDeviceList();
    return TRUE;
}

std::wstring CVK37SetDlg::ChosenDeviceId() {
    UpdateData(TRUE);
    const bool listed =
        m_nDeviceIndex >= 0 && static_cast<size_t>(m_nDeviceIndex) < m_deviceIds.size();
    return listed ? m_deviceIds[static_cast<size_t>(m_nDeviceIndex)] : L"";
}

void CVK37SetDlg::EndBusy() {
    m_bBusy = false;
    if (m_bRefreshPending)
        RefreshDeviceList();
}

void CVK37SetDlg::OnSaveParameters() {
    const std::wstring id = ChosenDeviceId();
    m_bBusy = true;
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
    // Devices that came or went while the save's boxes were open.
    EndBusy();
}

int CVK37SetDlg::LocateChosenDevice(const std::wstring& id) {
    m_CaptureDevice.ClearDevices();
    m_CaptureDevice.EnumerateDevices();
    const int position = id.empty() ? m_nDeviceIndex : m_CaptureDevice.FindDevice(id);
    if (position != m_nDeviceIndex) {
        FillDeviceList();
        SelectDevice(id);
    }
    return position;
}

void CVK37SetDlg::OnProperties() {
    const std::wstring id = ChosenDeviceId();
    if (m_nDeviceIndex < 0)
        return;
    m_bBusy = true;
    ShowPropertyPages(id);
    EndBusy();
}

void CVK37SetDlg::ShowPropertyPages(const std::wstring& id) {
    const int position = LocateChosenDevice(id);
    if (position < 0) {
        ShowError(IDS_PROPERTIES_DEVICE_GONE);
        return;
    }
    ComPtr<IBaseFilter> filter;
    if (m_CaptureDevice.BindDevice(position, filter.ReleaseAndGetAddressOf()) != S_OK || !filter) {
        ShowError(IDS_PROPERTIES_NOT_OPENED);
        return;
    }
    ComPtr<ISpecifyPropertyPages> specify;
    CAUUID pages = {0, nullptr};
    const bool hasPages = filter->QueryInterface(IID_ISpecifyPropertyPages,
                                                 specify.ReleaseAndGetAddressOfVoid()) == S_OK &&
                          specify && specify->GetPages(&pages) == S_OK && pages.cElems > 0 &&
                          pages.pElems != nullptr;
    if (!hasPages) {
        // No frame for no pages: some systems' frames cannot be closed then.
        CoTaskMemFree(pages.pElems);
        ShowError(IDS_PROPERTIES_NO_PAGES);
        return;
    }
    std::wstring name;
    if (m_CaptureDevice.GetDeviceName(position, name) != S_OK)
        name = UnknownDeviceName();
    IUnknown* objects[] = {filter.Get()};
    // Some frames are not modal to their owner, and a second click would
    // open a second frame from inside the first: the dialog takes no input
    // until the frame is gone.
    EnableWindow(m_hWnd, FALSE);
    const HRESULT hr = OleCreatePropertyFrame(m_hWnd, 0, 0, name.c_str(), 1, objects, pages.cElems,
                                              pages.pElems, 0, 0, nullptr);
    EnableWindow(m_hWnd, TRUE);
    SetForegroundWindow(m_hWnd);
    CoTaskMemFree(pages.pElems);
    if (FAILED(hr))
        ShowError(IDS_PROPERTIES_FAILED);
}

void CVK37SetDlg::OnLoadParameters() {
    const std::wstring id = ChosenDeviceId();
    if (m_nDeviceIndex < 0)
        return;
    m_bBusy = true;
    LoadParameters(id);
    EndBusy();
}

void CVK37SetDlg::LoadParameters(const std::wstring& id) {
    // The file first: without one the camera is not touched at all.
    ParameterFile file;
    ReadParameterFile(paramfile::kPath, &file);
    if (!file.IsParameterFile()) {
        const UINT nID =
            file.readError == ERROR_ACCESS_DENIED ? IDS_LOAD_UNREADABLE : IDS_LOAD_NO_FILE;
        ShowError(nID);
        return;
    }
    // The chosen camera, not the file's PORT: the user picked it.
    const int position = LocateChosenDevice(id);
    if (position < 0) {
        ShowError(IDS_LOAD_DEVICE_GONE);
        return;
    }
    std::vector<PropertyResult> results;
    const RestoreOutcome outcome =
        RestoreParameters(m_CaptureDevice, position, file, false, &results);
    if (outcome == RestoreOutcome::NotOpened) {
        ShowError(IDS_LOAD_NOT_OPENED);
        return;
    }
    // A device that left part-way is listed afresh once the box is closed.
    if (outcome == RestoreOutcome::DeviceGone)
        m_bRefreshPending = true;
    const LoadReport report = MakeLoadReport(outcome, results);
    AfxMessageBox(report.text.c_str(), report.nType);
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
