// The fake cameras: how each is registered and what its two property
// interfaces answer. The fake camera DLL serves these values and the tests
// derive what they expect from them, so a value is changed in one place.
// Plain C++ without Windows headers, so Linux-side test code can use it too.
#pragma once

#include <cstdint>

namespace fakecamera {

// VideoProcAmp_Flags_* and CameraControl_Flags_* share these values.
inline constexpr std::int32_t kAuto = 0x1;
inline constexpr std::int32_t kManual = 0x2;
inline constexpr std::int32_t kAutoManual = kAuto | kManual;

// How reading a property goes wrong, if it does.
enum class Failure {
    none,
    range,       // GetRange fails with E_PROP_ID_UNSUPPORTED; Get still answers
    value,       // GetRange answers; Get fails with E_FAIL
    unsupported, // GetRange and Get fail with E_PROP_ID_UNSUPPORTED
};

struct Property {
    std::int32_t min, max, step, def, caps; // what GetRange answers
    std::int32_t value, flags;              // what Get answers
    Failure failure;
};

inline constexpr Property kUnsupported = {0, 0, 0, 0, 0, 0, 0, Failure::unsupported};

inline constexpr int kProcAmpCount = 10;      // VideoProcAmp_Brightness (0) .. _Gain (9)
inline constexpr int kCameraControlCount = 7; // CameraControl_Pan (0) .. _Focus (6)

struct Camera {
    // The class of the filter; the instance key is named after it, so its
    // text decides the enumeration order (Wine lists keys sorted by name).
    const char* clsid;
    // Registered as FriendlyName; with nameReadable false the value is then
    // removed again, so reading the name fails while the device still binds.
    const char* name;
    bool nameReadable;
    // Without it, QueryInterface for IAMCameraControl answers E_NOINTERFACE.
    bool hasCameraControl;
    Property procAmp[kProcAmpCount];
    Property cameraControl[kCameraControlCount];
};

// Values avoid the middle of their ranges and differ from property to property
// and camera to camera, so a key written from the wrong field, property or
// camera shows. In the current flags Auto and Manual alternate, and they differ
// from the caps of the range, so writing the range's caps shows too.
inline constexpr Camera kCameras[] = {
    {
        "{5B6F3A10-7D2C-4E8B-9A41-3C0D2E7F5A01}",
        "VK37 Test Camera A",
        true,
        true,
        {
            {-64, 64, 1, 12, kAutoManual, -20, kManual, Failure::none},      // brightness
            {0, 95, 1, 32, kAutoManual, 47, kAuto, Failure::none},           // contrast
            {-180, 180, 5, 15, kAutoManual, -45, kManual, Failure::none},    // hue
            {0, 200, 2, 64, kManual, 130, kManual, Failure::none},           // saturation
            {0, 15, 1, 6, kAutoManual, 9, kManual, Failure::range},          // sharpness
            {72, 500, 1, 100, kManual, 220, kManual, Failure::none},         // gamma
            {0, 1, 1, 1, kManual, 0, kManual, Failure::none},                // color enable
            {2800, 6500, 10, 4600, kAutoManual, 5210, kAuto, Failure::none}, // white balance
            {0, 2, 1, 1, kAutoManual, 2, kManual, Failure::none},   // backlight compensation
            {0, 255, 1, 32, kAutoManual, 77, kAuto, Failure::none}, // gain
        },
        {
            kUnsupported,                                              // pan
            kUnsupported,                                              // tilt
            kUnsupported,                                              // roll
            {100, 400, 10, 150, kManual, 200, kManual, Failure::none}, // zoom
            {-13, -1, 1, -5, kAutoManual, -6, kManual, Failure::none}, // exposure
            kUnsupported,                                              // iris
            {0, 250, 5, 40, kAutoManual, 30, kAuto, Failure::none},    // focus
        },
    },
    {
        "{5B6F3A11-7D2C-4E8B-9A41-3C0D2E7F5A02}",
        "VK37 Test Camera B",
        true,
        false,
        {
            {-10, 245, 1, 100, kAutoManual, 90, kAuto, Failure::none},          // brightness
            {16, 64, 4, 36, kManual, 60, kManual, Failure::none},               // contrast
            {-90, 90, 1, -30, kAutoManual, 45, kAuto, Failure::none},           // hue
            {0, 127, 1, 70, kAutoManual, 3, kManual, Failure::none},            // saturation
            {1, 7, 1, 2, kManual, 5, kManual, Failure::none},                   // sharpness
            {100, 300, 1, 160, kManual, 180, kManual, Failure::none},           // gamma
            {0, 1, 1, 0, kManual, 1, kManual, Failure::none},                   // color enable
            {2000, 10000, 50, 6500, kAutoManual, 3000, kManual, Failure::none}, // white balance
            {0, 1, 1, 0, kManual, 1, kManual, Failure::none},     // backlight compensation
            {1, 16, 1, 4, kAutoManual, 12, kAuto, Failure::none}, // gain
        },
        {kUnsupported, kUnsupported, kUnsupported, kUnsupported, kUnsupported, kUnsupported,
         kUnsupported},
    },
    {
        "{5B6F3A12-7D2C-4E8B-9A41-3C0D2E7F5A03}",
        "VK37 Test Camera C",
        false,
        true,
        {
            {-100, 100, 10, -40, kAutoManual, 70, kManual, Failure::none},     // brightness
            {-5, 5, 1, 2, kAutoManual, -3, kAuto, Failure::none},              // contrast
            {-20, 20, 1, 5, kManual, -15, kManual, Failure::none},             // hue
            {10, 90, 5, 25, kAutoManual, 85, kAuto, Failure::none},            // saturation
            {0, 100, 1, 35, kAutoManual, 61, kManual, Failure::none},          // sharpness
            {1, 10, 1, 3, kManual, 4, kManual, Failure::none},                 // gamma
            {0, 1, 1, 0, kAutoManual, 1, kAuto, Failure::none},                // color enable
            {2500, 7500, 100, 5000, kAutoManual, 6100, kAuto, Failure::value}, // white balance
            {0, 3, 1, 2, kManual, 0, kManual, Failure::none},         // backlight compensation
            {0, 100, 5, 20, kAutoManual, 35, kManual, Failure::none}, // gain
        },
        {
            {-145, 145, 1, 0, kManual, -30, kManual, Failure::none}, // pan
            {-90, 90, 1, 0, kManual, 12, kManual, Failure::none},    // tilt
            kUnsupported,                                            // roll
            kUnsupported,                                            // zoom
            {-11, 0, 1, -3, kAutoManual, -9, kAuto, Failure::none},  // exposure
            kUnsupported,                                            // iris
            kUnsupported,                                            // focus
        },
    },
};

inline constexpr int kCameraCount = sizeof(kCameras) / sizeof(kCameras[0]);

} // namespace fakecamera
