// The property pages of a V4L2 camera, by class: the capture filter names
// them through ISpecifyPropertyPages, and the platform's property frame makes
// the pages it is given by these classes.
#pragma once

#include "platform/comobject.h"
#include "platform/propertypages.h"

// Every amplifier property the camera has.
extern "C" const CLSID CLSID_V4l2ProcAmpPropertyPage;
// Exposure, focus and zoom, where the camera has them.
extern "C" const CLSID CLSID_V4l2CameraControlPropertyPage;

template <> struct InterfaceId<ISpecifyPropertyPages> {
    static const IID& Get() { return IID_ISpecifyPropertyPages; }
};
