// The property pages the frame knows, and a page built from its template.
#include "platform/linux/ui/propertypage.h"

#include "platform/linux/ui/dialogcontrols.h"
#include "platform/linux/ui/handles.h"
#include "platform/linux/v4l2/propertypageclasses.h"
#include "res/resource.h"

#include <QAbstractButton>

#include <iterator>
#include <map>

namespace {

#define VK37_ROW(property, name)                                                                   \
    { property, IDC_##name##_LABEL, IDC_##name##_SLIDER, IDC_##name##_VALUE, IDC_##name##_AUTO }

constexpr CPageRowIds kProcAmpRows[] = {
    VK37_ROW(VideoProcAmp_Brightness, BRIGHTNESS),
    VK37_ROW(VideoProcAmp_Contrast, CONTRAST),
    VK37_ROW(VideoProcAmp_Hue, HUE),
    VK37_ROW(VideoProcAmp_Saturation, SATURATION),
    VK37_ROW(VideoProcAmp_Sharpness, SHARPNESS),
    VK37_ROW(VideoProcAmp_Gamma, GAMMA),
    VK37_ROW(VideoProcAmp_WhiteBalance, WHITEBALANCE),
    VK37_ROW(VideoProcAmp_BacklightCompensation, BACKLIGHT),
    VK37_ROW(VideoProcAmp_Gain, GAIN),
    VK37_ROW(VideoProcAmp_ColorEnable, COLORENABLE),
};

constexpr CPageRowIds kCameraControlRows[] = {
    VK37_ROW(CameraControl_Exposure, EXPOSURE),
    VK37_ROW(CameraControl_Focus, FOCUS),
    VK37_ROW(CameraControl_Zoom, ZOOM),
};

#undef VK37_ROW

const CPageClass kPageClasses[] = {
    {&CLSID_V4l2ProcAmpPropertyPage, &IID_IAMVideoProcAmp, IDD_PROCAMP_PAGE, IDC_PROCAMP_DEFAULT,
     kProcAmpRows, std::size(kProcAmpRows)},
    {&CLSID_V4l2CameraControlPropertyPage, &IID_IAMCameraControl, IDD_CAMERACONTROL_PAGE,
     IDC_CAMERACONTROL_DEFAULT, kCameraControlRows, std::size(kCameraControlRows)},
};

} // namespace

const CPageClass* FindPageClass(REFCLSID clsid) {
    for (const CPageClass& pageClass : kPageClasses)
        if (IsEqualCLSID(clsid, *pageClass.clsid))
            return &pageClass;
    return nullptr;
}

CPropertyPage::CPropertyPage(const CPageClass& pageClass, const CPropertyAccess& access,
                             std::function<void(CPropertyRow*)> onChange,
                             std::function<void(int)> onClick) {
    const DialogTemplate* tpl = FindDialogTemplate(pageClass.templateId);
    if (tpl == nullptr)
        return;
    m_title = ToQString(tpl->caption);
    // The same font and dialog units as every dialog of the program.
    const QFont font = ChooseDialogFont(ToQString(tpl->fontName), tpl->pointSize);
    const CDialogUnits units = CDialogUnits::FromFont(font);
    setFont(font);
    setFixedSize(units.ToPixelsX(tpl->cx), units.ToPixelsY(tpl->cy));

    std::map<int, QWidget*> byId;
    for (const CTemplateControl& control : BuildTemplateControls(this, units, *tpl)) {
        byId[control.id] = control.widget;
        if (control.widget->focusPolicy() == Qt::StrongFocus)
            m_tabStops.push_back(control.widget);
    }
    if (auto* button = qobject_cast<QAbstractButton*>(byId[pageClass.defaultButton])) {
        const int id = pageClass.defaultButton;
        connect(button, &QAbstractButton::clicked, this, [onClick, id] { onClick(id); });
    }
    for (size_t i = 0; i < pageClass.rowCount; ++i) {
        const CPageRowIds& ids = pageClass.rows[i];
        const CPropertyRow::CWidgets widgets = {
            qobject_cast<QLabel*>(byId[ids.name]), qobject_cast<QSlider*>(byId[ids.slider]),
            qobject_cast<QLabel*>(byId[ids.value]), qobject_cast<QCheckBox*>(byId[ids.automatic])};
        if (!widgets.name || !widgets.slider || !widgets.value || !widgets.automatic)
            continue; // not a row this page can show
        m_rows.push_back(std::make_unique<CPropertyRow>(access, ids.property, widgets, onChange));
    }
}

HRESULT CPropertyPage::Load() {
    HRESULT failure = E_PROP_ID_UNSUPPORTED;
    std::vector<bool> shown;
    for (const std::unique_ptr<CPropertyRow>& row : m_rows) {
        const HRESULT hr = row->Load();
        if (IsDeviceGone(hr))
            return hr;
        if (hr != S_OK)
            failure = hr;
        shown.push_back(hr == S_OK);
    }
    // Each row shown takes the place of the next in the template, so the
    // rows close up where the camera lacks one.
    std::vector<int> places;
    for (const std::unique_ptr<CPropertyRow>& row : m_rows)
        places.push_back(row->Slider()->y());
    m_shown.clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const int dy = shown[i] ? places[m_shown.size()] - places[i] : 0;
        m_rows[i]->Place(shown[i], dy);
        if (shown[i])
            m_shown.push_back(m_rows[i].get());
    }
    return m_shown.empty() ? failure : S_OK;
}

QWidget* CPropertyPage::FirstTabStop() const {
    for (QWidget* stop : m_tabStops)
        if (stop->isVisibleTo(this) && stop->isEnabled())
            return stop;
    return nullptr;
}

HRESULT CPropertyPage::WantDefaults() {
    for (CPropertyRow* row : m_shown) {
        const HRESULT hr = row->WantDefault();
        if (IsDeviceGone(hr))
            return hr;
    }
    return S_OK;
}
