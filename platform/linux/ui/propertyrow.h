// One row of a property page: a property's range, the camera's setting as
// last read, the setting the user asks for, the one last written, and the
// one Cancel goes back to; and the row's widgets: name, slider, value and
// automatic-mode box.
#pragma once

#include "platform/linux/ui/propertyaccess.h"

#include <QCheckBox>
#include <QLabel>
#include <QSlider>

#include <cstdint>
#include <functional>

class CPropertyRow {
public:
    struct CWidgets {
        QLabel* name;
        QSlider* slider;
        QLabel* value;
        QCheckBox* automatic;
    };

    // onChange runs whenever the setting asked for changes, by the user or by
    // SetWanted: the frame then schedules a write.
    CPropertyRow(const CPropertyAccess& access, LONG property, const CWidgets& widgets,
                 std::function<void(CPropertyRow*)> onChange);
    CPropertyRow(const CPropertyRow&) = delete;
    CPropertyRow& operator=(const CPropertyRow&) = delete;

    // Reads the range and the setting; S_OK when the row can be shown. The
    // setting read is also what Cancel goes back to.
    HRESULT Load();
    // Shows or hides every widget of the row, and moves them down by dy pixels.
    void Place(bool visible, int dy);

    LONG Property() const { return m_property; }
    const CPropertySetting& Camera() const { return m_camera; }
    const CPropertySetting& Wanted() const { return m_wanted; }
    const CPropertySetting& Saved() const { return m_saved; }
    QSlider* Slider() const { return m_widgets.slider; }

    // A setting asked for that has not been written yet.
    bool Pending() const { return !SameSetting(m_wanted, m_written); }
    // The setting asked for is not the one Cancel would go back to.
    bool Changed() const { return !SameSetting(m_wanted, m_saved); }
    // Asks for a setting as if the user had chosen it (defaults, Cancel).
    void SetWanted(const CPropertySetting& setting);
    // The camera's default setting; a default without a mode keeps the mode.
    HRESULT WantDefault();
    // What the user has asked for so far is what Cancel goes back to (Apply).
    void Save() { m_saved = m_wanted; }
    // Asks for the setting Cancel goes back to, where the camera or the
    // request differs from it.
    void Revert();
    // The camera's setting again, re-read; its status.
    HRESULT Reread();

    // One Set of the setting asked for, then the camera's setting read back
    // and shown. A refused setting is dropped for the camera's own. Returns
    // the Set's status, or the read's when the camera left in between.
    HRESULT Write();

    // When the last write ended, on the writer's clock.
    qint64 LastWriteEnd() const { return m_lastWriteEnd; }
    void SetLastWriteEnd(qint64 ms) { m_lastWriteEnd = ms; }

private:
    LONG ValueAt(int position) const;
    int PositionOf(LONG value) const;
    void Show();
    void OnSlider(int position);
    void OnAutomatic(bool on);

    CPropertyAccess m_access;
    LONG m_property;
    CWidgets m_widgets;
    std::function<void(CPropertyRow*)> m_onChange;
    LONG m_min = 0, m_max = 0, m_step = 1, m_caps = 0;
    // The slider moves in steps of m_sliderStep, a multiple of the
    // property's step that keeps the positions within an int.
    int64_t m_sliderStep = 1;
    CPropertySetting m_camera, m_wanted, m_written, m_saved;
    qint64 m_lastWriteEnd;
};
