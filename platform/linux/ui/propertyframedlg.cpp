// The property frame's pages, buttons, keys and closing.
#include "platform/linux/ui/propertyframedlg.h"

#include "platform/linux/ui/dialogwindow.h"
#include "platform/linux/ui/handles.h"
#include "res/resource.h"

#include <QShortcut>
#include <QTabWidget>

#include <utility>

BEGIN_MESSAGE_MAP(CPropertyFrameDlg, CDialog)
ON_BN_CLICKED(IDC_APPLY_BUTTON, &CPropertyFrameDlg::OnApply)
ON_BN_CLICKED(IDC_PROCAMP_DEFAULT, &CPropertyFrameDlg::OnDefaults)
ON_BN_CLICKED(IDC_CAMERACONTROL_DEFAULT, &CPropertyFrameDlg::OnDefaults)
ON_WM_DEVICECHANGE()
END_MESSAGE_MAP()

namespace {

// The caption's format from the string table, "%s" standing for the name.
QString FrameCaption(const std::wstring& name) {
    CString format;
    if (!format.LoadString(IDS_PROPERTY_FRAME_CAPTION))
        return QString::fromStdWString(name);
    QString caption = ToQString(format);
    return caption.replace(QStringLiteral("%s"), QString::fromStdWString(name));
}

} // namespace

CPropertyFrameDlg::CPropertyFrameDlg(CWnd* pOwner, std::wstring caption)
    : CDialog(IDD_PROPERTY_FRAME, pOwner), m_caption(std::move(caption)),
      m_writer([this](CPropertyRow* row, HRESULT hr) { OnWritten(row, hr); }) {}

void CPropertyFrameDlg::AddPage(const CPageClass& pageClass, const CPropertyAccess& access) {
    m_requests.push_back({&pageClass, access});
}

INT_PTR CPropertyFrameDlg::DoModal() {
    const INT_PTR result = CDialog::DoModal();
    // The pages went with the window; nothing of theirs may be written now.
    m_writer.Stop();
    m_pages.clear();
    return result;
}

BOOL CPropertyFrameDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    CDialogWindow* window = CDialogWindow::FromHandle(m_hWnd);
    m_tabs = qobject_cast<QTabWidget*>(window->Control(IDC_PAGE_TABS));
    m_hrOpen = m_tabs != nullptr ? BuildPages(m_tabs) : E_UNEXPECTED;
    if (m_hrOpen != S_OK) {
        EndDialog(-1);
        return FALSE;
    }
    window->setWindowTitle(FrameCaption(m_caption));
    FitToPages(m_tabs);

    // The pages' controls in the tab order, between the tabs and 确定.
    QWidget* previous = m_tabs;
    for (CPropertyPage* page : m_pages)
        for (QWidget* stop : page->TabStops()) {
            QWidget::setTabOrder(previous, stop);
            previous = stop;
        }
    QWidget::setTabOrder(previous, window->Control(IDOK));

    // Another page from anywhere in the frame, as in every property sheet.
    const std::pair<QKeySequence, int> switches[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& [keys, delta] : switches) {
        auto* shortcut = new QShortcut(keys, window);
        const int step = delta;
        QObject::connect(shortcut, &QShortcut::activated, window,
                         [this, step] { SwitchPage(step); });
    }

    UpdateApply();
    // The focus starts on the first page's first control, not on the tabs.
    if (QWidget* first = m_pages.front()->FirstTabStop())
        first->setFocus(Qt::OtherFocusReason);
    return FALSE;
}

HRESULT CPropertyFrameDlg::BuildPages(QTabWidget* tabs) {
    HRESULT failure = E_FAIL;
    CDialogWindow* window = CDialogWindow::FromHandle(m_hWnd);
    for (const CPageRequest& request : m_requests) {
        auto* page = new CPropertyPage(
            *request.pageClass, request.access,
            [this](CPropertyRow* row) {
                m_writer.Request(row);
                UpdateApply();
            },
            [window](int id) { window->SendClick(id); });
        const HRESULT hr = page->Load();
        if (hr != S_OK) {
            delete page;
            failure = hr;
            if (IsDeviceGone(hr))
                return hr;
            continue;
        }
        tabs->addTab(page, page->Title());
        m_pages.push_back(page);
    }
    return m_pages.empty() ? failure : S_OK;
}

void CPropertyFrameDlg::FitToPages(QTabWidget* tabs) {
    // The template fits the pages in the program's font; a larger font or
    // another style's tab bar may need more room, which the frame then gives.
    const QSize need = tabs->sizeHint().expandedTo(tabs->minimumSizeHint());
    const int dx = qMax(0, need.width() - tabs->width());
    const int dy = qMax(0, need.height() - tabs->height());
    if (dx == 0 && dy == 0)
        return;
    CDialogWindow* window = CDialogWindow::FromHandle(m_hWnd);
    tabs->resize(tabs->width() + dx, tabs->height() + dy);
    for (int id : {IDOK, IDCANCEL, IDC_APPLY_BUTTON})
        if (QWidget* button = window->Control(id))
            button->move(button->x() + dx, button->y() + dy);
    window->setFixedSize(window->width() + dx, window->height() + dy);
}

std::vector<CPropertyRow*> CPropertyFrameDlg::AllRows() const {
    std::vector<CPropertyRow*> rows;
    for (CPropertyPage* page : m_pages)
        if (page != nullptr)
            rows.insert(rows.end(), page->Rows().begin(), page->Rows().end());
    return rows;
}

void CPropertyFrameDlg::UpdateApply() {
    bool changed = false;
    for (CPropertyRow* row : AllRows())
        changed = changed || row->Changed();
    HWND apply = nullptr;
    GetDlgItem(IDC_APPLY_BUTTON, &apply);
    if (apply != nullptr)
        WidgetFromHandle(apply)->setEnabled(changed && !m_bClosing);
}

void CPropertyFrameDlg::OnWritten(CPropertyRow*, HRESULT hr) {
    if (IsDeviceGone(hr))
        OnGone();
    else
        UpdateApply(); // a refused setting may be the saved one again
}

void CPropertyFrameDlg::OnGone() {
    if (m_bGone)
        return;
    m_bGone = true;
    m_bClosing = true;
    m_writer.Stop();
    CString text;
    text.LoadString(IDS_PROPERTY_DEVICE_GONE);
    AfxMessageBox(text, MB_OK | MB_ICONERROR);
    EndDialog(IDCANCEL);
}

void CPropertyFrameDlg::Close(int result, bool revert) {
    if (m_bClosing)
        return;
    m_bClosing = true;
    UpdateApply();
    if (m_tabs != nullptr)
        m_tabs->setEnabled(false);
    // Whatever is still pending lands first, so the last request counts.
    if (revert)
        m_writer.WhenIdle([this] {
            for (CPropertyRow* row : AllRows())
                row->Revert();
        });
    m_writer.WhenIdle([this, result] { EndDialog(result); });
}

void CPropertyFrameDlg::OnOK() {
    Close(IDOK, false);
}

void CPropertyFrameDlg::OnCancel() {
    Close(IDCANCEL, true);
}

void CPropertyFrameDlg::OnApply() {
    if (m_bClosing)
        return;
    for (CPropertyRow* row : AllRows())
        row->Save();
    UpdateApply();
}

void CPropertyFrameDlg::OnDefaults() {
    if (m_bClosing || m_tabs == nullptr)
        return;
    auto* page = static_cast<CPropertyPage*>(m_tabs->currentWidget());
    if (page != nullptr && IsDeviceGone(page->WantDefaults()))
        OnGone();
}

BOOL CPropertyFrameDlg::OnDeviceChange(UINT, DWORD_PTR) {
    // Any change may be ours; a read tells, and writes nothing.
    const std::vector<CPropertyRow*> rows = AllRows();
    if (!m_bClosing && !rows.empty() && IsDeviceGone(rows.front()->Reread()))
        OnGone();
    return TRUE;
}

void CPropertyFrameDlg::SwitchPage(int delta) {
    const int count = m_tabs != nullptr ? m_tabs->count() : 0;
    if (count < 2 || m_bClosing)
        return;
    const int index = (m_tabs->currentIndex() + delta + count) % count;
    m_tabs->setCurrentIndex(index);
    if (QWidget* first = static_cast<CPropertyPage*>(m_tabs->widget(index))->FirstTabStop())
        first->setFocus(Qt::TabFocusReason);
}
