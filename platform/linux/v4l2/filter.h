// The capture filter a camera moniker binds to. It owns the open node, so the
// descriptor lives exactly as long as the last reference to the filter or to
// one of the property interfaces it handed out.
#pragma once

#include "platform/linux/v4l2/propertypageclasses.h"
#include "platform/linux/v4l2/v4l2device.h"

class CCaptureFilter final : public ComObject<IBaseFilter, ISpecifyPropertyPages> {
public:
    explicit CCaptureFilter(CV4l2Device device) : m_device(std::move(device)) {}

    // Besides IUnknown, IBaseFilter and ISpecifyPropertyPages: IAMVideoProcAmp
    // when the node has an amplifier control, IAMCameraControl when it has an
    // exposure, focus or zoom control.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;

    // The page of each of those two interfaces that the node has, the
    // amplifier's first; none (and S_OK) for a node with neither.
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pPages) override;

    const CV4l2Device& Device() const { return m_device; }

private:
    CV4l2Device m_device;
};
