// DirectShow device access: the system device enumerator, monikers, property
// bags, filters and the two camera property interfaces. On Windows the SDK
// provides them; elsewhere this header declares the methods the program calls,
// with the SDK's signatures and identifiers.
#pragma once

#include "platform/com.h"

#ifdef _WIN32
#include <dshow.h>
#else

extern "C" const CLSID CLSID_SystemDeviceEnum;
extern "C" const CLSID CLSID_VideoInputDeviceCategory;
extern "C" const IID IID_ICreateDevEnum;
extern "C" const IID IID_IEnumMoniker;
extern "C" const IID IID_IMoniker;
extern "C" const IID IID_IPropertyBag;
extern "C" const IID IID_IBaseFilter;
extern "C" const IID IID_IAMVideoProcAmp;
extern "C" const IID IID_IAMCameraControl;

struct IPropertyBag : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT* pVar,
                                           IErrorLog* pErrorLog) = 0;

protected:
    ~IPropertyBag() = default;
};

struct IMoniker : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* pbc, IMoniker* pmkToLeft,
                                                   REFIID riidResult, void** ppvResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* pbc, IMoniker* pmkToLeft, REFIID riid,
                                                    void** ppvObj) = 0;
    // The name that identifies the device, allocated with CoTaskMemAlloc.
    virtual HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx* pbc, IMoniker* pmkToLeft,
                                                     LPOLESTR* ppszDisplayName) = 0;

protected:
    ~IMoniker() = default;
};

struct IEnumMoniker : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) = 0;
    virtual HRESULT STDMETHODCALLTYPE Reset() = 0;

protected:
    ~IEnumMoniker() = default;
};

struct ICreateDevEnum : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID clsidDeviceClass,
                                                            IEnumMoniker** ppEnumMoniker,
                                                            DWORD dwFlags) = 0;

protected:
    ~ICreateDevEnum() = default;
};

// The capture filter is only ever queried for its property interfaces.
struct IBaseFilter : IUnknown {
protected:
    ~IBaseFilter() = default;
};

enum VideoProcAmpProperty {
    VideoProcAmp_Brightness = 0,
    VideoProcAmp_Contrast = 1,
    VideoProcAmp_Hue = 2,
    VideoProcAmp_Saturation = 3,
    VideoProcAmp_Sharpness = 4,
    VideoProcAmp_Gamma = 5,
    VideoProcAmp_ColorEnable = 6,
    VideoProcAmp_WhiteBalance = 7,
    VideoProcAmp_BacklightCompensation = 8,
    VideoProcAmp_Gain = 9,
};

enum VideoProcAmpFlags {
    VideoProcAmp_Flags_Auto = 0x0001,
    VideoProcAmp_Flags_Manual = 0x0002,
};

enum CameraControlProperty {
    CameraControl_Pan = 0,
    CameraControl_Tilt = 1,
    CameraControl_Roll = 2,
    CameraControl_Zoom = 3,
    CameraControl_Exposure = 4,
    CameraControl_Iris = 5,
    CameraControl_Focus = 6,
};

enum CameraControlFlags {
    CameraControl_Flags_Auto = 0x0001,
    CameraControl_Flags_Manual = 0x0002,
};

struct IAMVideoProcAmp : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetRange(LONG Property, LONG* pMin, LONG* pMax,
                                               LONG* pSteppingDelta, LONG* pDefault,
                                               LONG* pCapsFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(LONG Property, LONG lValue, LONG Flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(LONG Property, LONG* lValue, LONG* Flags) = 0;

protected:
    ~IAMVideoProcAmp() = default;
};

struct IAMCameraControl : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetRange(LONG Property, LONG* pMin, LONG* pMax,
                                               LONG* pSteppingDelta, LONG* pDefault,
                                               LONG* pCapsFlags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Set(LONG Property, LONG lValue, LONG Flags) = 0;
    virtual HRESULT STDMETHODCALLTYPE Get(LONG Property, LONG* lValue, LONG* Flags) = 0;

protected:
    ~IAMCameraControl() = default;
};

#endif
