// A property page's row: its slider over the camera's range and step, the
// value beside it, the automatic-mode box, and its one write.
#include "platform/linux/ui/propertyrow.h"

#include <QSignalBlocker>

#include <algorithm>
#include <cstdint>
#include <utility>

namespace {

// Enough for any real control; a wider range moves in coarser steps.
constexpr int64_t kMaxPositions = 1 << 20;

} // namespace

CPropertyRow::CPropertyRow(const CPropertyAccess& access, LONG property, const CWidgets& widgets,
                           std::function<void(CPropertyRow*)> onChange)
    : m_access(access), m_property(property), m_widgets(widgets), m_onChange(std::move(onChange)),
      m_lastWriteEnd(INT64_MIN / 2) {
    QSlider* slider = m_widgets.slider;
    QObject::connect(slider, &QSlider::valueChanged, slider, [this](int p) { OnSlider(p); });
    // A drag ends where the user let go; the camera's value shows again.
    QObject::connect(slider, &QSlider::sliderReleased, slider, [this] {
        if (!Pending())
            Show();
    });
    QObject::connect(m_widgets.automatic, &QCheckBox::toggled, m_widgets.automatic,
                     [this](bool on) { OnAutomatic(on); });
}

HRESULT CPropertyRow::Load() {
    LONG def = 0;
    HRESULT hr = m_access.GetRange(m_property, &m_min, &m_max, &m_step, &def, &m_caps);
    if (hr != S_OK)
        return hr;
    if (m_max < m_min)
        return E_PROP_ID_UNSUPPORTED; // no slider can show such a range
    CPropertySetting now;
    hr = m_access.Get(m_property, &now);
    if (hr != S_OK)
        return hr;
    m_camera = m_wanted = m_written = m_saved = now;

    const int64_t span = int64_t{m_max} - m_min;
    int64_t step = m_step > 0 ? m_step : 1;
    if (span / step > kMaxPositions)
        step *= (span / step + kMaxPositions - 1) / kMaxPositions;
    m_sliderStep = step;
    const int positions = static_cast<int>(span / step);
    QSignalBlocker block(m_widgets.slider);
    m_widgets.slider->setRange(0, positions);
    m_widgets.slider->setSingleStep(1);
    // A page of the keyboard is a fifth of the range, as on the window system's trackbars.
    m_widgets.slider->setPageStep(std::max(1, positions / 5));
    Show();
    return S_OK;
}

void CPropertyRow::Place(bool visible, int dy) {
    QWidget* widgets[] = {m_widgets.name, m_widgets.slider, m_widgets.value, m_widgets.automatic};
    for (QWidget* widget : widgets) {
        widget->move(widget->x(), widget->y() + dy);
        widget->setVisible(visible);
    }
    m_widgets.automatic->setVisible(visible && (m_caps & VideoProcAmp_Flags_Auto) != 0);
}

LONG CPropertyRow::ValueAt(int position) const {
    const int64_t value = int64_t{m_min} + int64_t{position} * m_sliderStep;
    return static_cast<LONG>(std::min<int64_t>(value, m_max));
}

int CPropertyRow::PositionOf(LONG value) const {
    const int64_t offset = std::clamp<int64_t>(int64_t{value} - m_min, 0, int64_t{m_max} - m_min);
    return static_cast<int>((offset + m_sliderStep / 2) / m_sliderStep);
}

void CPropertyRow::Show() {
    const bool automatic = m_wanted.Automatic();
    // What the user just chose until it is written; the camera's value after.
    const LONG shown = automatic || !Pending() ? m_camera.value : m_wanted.value;
    QSignalBlocker blockSlider(m_widgets.slider);
    QSignalBlocker blockBox(m_widgets.automatic);
    m_widgets.automatic->setChecked(automatic);
    m_widgets.slider->setEnabled(!automatic);
    if (!m_widgets.slider->isSliderDown())
        m_widgets.slider->setValue(PositionOf(shown));
    m_widgets.value->setText(QString::number(shown));
}

void CPropertyRow::OnSlider(int position) {
    m_wanted = {ValueAt(position), VideoProcAmp_Flags_Manual};
    m_widgets.value->setText(QString::number(m_wanted.value));
    m_onChange(this);
}

void CPropertyRow::OnAutomatic(bool on) {
    // Off keeps the value the camera chose, now as a manual one.
    if (on)
        m_wanted = {m_camera.value, VideoProcAmp_Flags_Auto};
    else
        m_wanted = {ValueAt(m_widgets.slider->value()), VideoProcAmp_Flags_Manual};
    Show();
    m_onChange(this);
}

void CPropertyRow::SetWanted(const CPropertySetting& setting) {
    m_wanted = setting;
    Show();
    m_onChange(this);
}

HRESULT CPropertyRow::WantDefault() {
    PropertyDefault def;
    const HRESULT hr = m_access.GetDefault(m_property, &def);
    if (hr != S_OK)
        return hr;
    SetWanted({def.lValue, def.lFlags});
    return S_OK;
}

void CPropertyRow::Revert() {
    if (Changed() || !SameSetting(m_camera, m_saved))
        SetWanted(m_saved);
}

HRESULT CPropertyRow::Reread() {
    CPropertySetting now;
    const HRESULT hr = m_access.Get(m_property, &now);
    if (hr != S_OK)
        return hr;
    m_camera = now;
    Show();
    return S_OK;
}

HRESULT CPropertyRow::Write() {
    m_written = m_wanted;
    const HRESULT hr = m_access.Set(m_property, m_wanted);
    if (IsDeviceGone(hr))
        return hr;
    CPropertySetting now;
    const HRESULT read = m_access.Get(m_property, &now);
    if (IsDeviceGone(read))
        return read;
    if (read == S_OK)
        m_camera = now;
    else if (hr == S_OK)
        m_camera = m_written;
    // Refused: what the camera holds stands, and shows; where Apply had kept
    // the refused setting, Cancel goes back to the camera's.
    if (hr != S_OK) {
        if (SameSetting(m_saved, m_written))
            m_saved = m_camera;
        m_wanted = m_written = m_camera;
    }
    Show();
    return hr;
}
