// The emulated camera's control values and its answers to the class
// requests. The values are chosen to catch a wrong mapping: negative ranges,
// steps other than 1, defaults off the middle, current values off the
// default, and exposure times whose log2 rounds differently from truncation.
#include "tests/integration/uvccamera/camera.h"

#include <linux/usb/video.h>

namespace uvccamera {

namespace {

// The auto-exposure mode bits the camera terminal offers: manual and
// aperture priority only, so "auto" and "shutter priority" never appear.
constexpr int64_t kAeManual = 0x01;
constexpr int64_t kAeAperturePriority = 0x08;

// GET_INFO: GET and SET supported; the value may change by itself.
constexpr uint8_t kInfoGetSet = 0x03;
constexpr uint8_t kInfoAutoUpdate = 0x08;

// The probe and commit block, 34 bytes from UVC 1.1 on: format 1, frame 1,
// 30 frames a second, a 160x120 YUY2 frame, 512-byte payloads.
std::vector<uint8_t> DefaultProbe() {
    std::vector<uint8_t> p(34, 0);
    p[2] = 1;                         // bFormatIndex
    p[3] = 1;                         // bFrameIndex
    const uint32_t interval = 333333; // dwFrameInterval, 100 ns units
    const uint32_t frameSize = 160 * 120 * 2;
    const uint32_t payload = 512;
    for (int i = 0; i < 4; ++i) {
        p[4 + i] = static_cast<uint8_t>(interval >> (8 * i));
        p[18 + i] = static_cast<uint8_t>(frameSize >> (8 * i));
        p[22 + i] = static_cast<uint8_t>(payload >> (8 * i));
    }
    return p;
}

const Control* Find(const Camera& camera, uint8_t entity, uint8_t selector) {
    for (const Control& c : camera.controls)
        if (c.entity == entity && c.selector == selector)
            return &c;
    return nullptr;
}

Control* Find(Camera* camera, uint8_t entity, uint8_t selector) {
    return const_cast<Control*>(Find(*static_cast<const Camera*>(camera), entity, selector));
}

std::vector<uint8_t> Encode(int64_t value, uint8_t size) {
    std::vector<uint8_t> bytes(size);
    for (uint8_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
    return bytes;
}

int64_t Decode(const std::vector<uint8_t>& bytes, uint8_t size, bool isSigned) {
    uint64_t value = 0;
    for (uint8_t i = 0; i < size && i < bytes.size(); ++i)
        value |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    if (isSigned && size < 8 && (value >> (8 * size - 1)) != 0)
        value |= ~uint64_t(0) << (8 * size);
    return static_cast<int64_t>(value);
}

// Brightness and hue are the signed processing unit controls.
bool IsSigned(const Control& c) {
    return c.entity == kProcessingUnit &&
           (c.selector == UVC_PU_BRIGHTNESS_CONTROL || c.selector == UVC_PU_HUE_CONTROL);
}

} // namespace

Camera MakeCamera(Configuration configuration) {
    const bool full = configuration == Configuration::Full;
    Camera camera;
    camera.configuration = configuration;
    camera.probe = DefaultProbe();
    // entity, selector, size, min, max, res, def, cur, stalls on GET_CUR, keeps its value
    camera.controls = {
        {kCameraTerminal, UVC_CT_AE_MODE_CONTROL, 1, kAeManual, kAeAperturePriority,
         kAeManual | kAeAperturePriority, kAeAperturePriority,
         full ? kAeManual : kAeAperturePriority, false},
        {kProcessingUnit, UVC_PU_BACKLIGHT_COMPENSATION_CONTROL, 2, 0, 2, 1, 1, 0, false},
        {kProcessingUnit, UVC_PU_BRIGHTNESS_CONTROL, 2, -64, 64, 1, 10, -20, false},
        {kProcessingUnit, UVC_PU_CONTRAST_CONTROL, 2, 0, 95, 1, 32, 40, !full},
        {kProcessingUnit, UVC_PU_GAIN_CONTROL, 2, 0, 255, 1, 32, 64, false},
        {kProcessingUnit, UVC_PU_POWER_LINE_FREQUENCY_CONTROL, 1, 0, 2, 1, 2, 1, false},
        {kProcessingUnit, UVC_PU_HUE_CONTROL, 2, -180, 180, 5, 10, -45, false},
        {kProcessingUnit, UVC_PU_SATURATION_CONTROL, 2, 0, 100, 1, 64, 57, false},
        {kProcessingUnit, UVC_PU_SHARPNESS_CONTROL, 2, 0, 7, 1, 3, 6, false, !full},
        {kProcessingUnit, UVC_PU_GAMMA_CONTROL, 2, 100, 500, 1, 300, 220, false},
        {kProcessingUnit, UVC_PU_WHITE_BALANCE_TEMPERATURE_CONTROL, 2, 2800, 6500, 10, 4600, 5200,
         false},
        {kProcessingUnit, UVC_PU_WHITE_BALANCE_TEMPERATURE_AUTO_CONTROL, 1, 0, 1, 1, 1,
         full ? 0 : 1, false},
    };
    // 100 µs units: 3 (-11.7 in log2 seconds), 10000 (0), 156 (-6.03), 20 (-8.97).
    if (full)
        camera.controls.push_back({kCameraTerminal, UVC_CT_EXPOSURE_TIME_ABSOLUTE_CONTROL, 4, 3,
                                   10000, 1, 156, 20, false});
    return camera;
}

bool AnswerGet(const Camera& camera, const ClassRequest& request, std::vector<uint8_t>* reply) {
    if (request.interface == kStreamingInterface) {
        if (request.selector != UVC_VS_PROBE_CONTROL && request.selector != UVC_VS_COMMIT_CONTROL)
            return false;
        if (request.request == UVC_GET_INFO || request.request == UVC_GET_LEN) {
            *reply = request.request == UVC_GET_INFO
                         ? std::vector<uint8_t>{kInfoGetSet}
                         : Encode(static_cast<int64_t>(camera.probe.size()), 2);
            return true;
        }
        *reply = camera.probe;
        return true;
    }
    if (request.entity == 0) {
        // The error of the last stalled request, which uvcvideo asks for
        // after a stall: 6, invalid control.
        if (request.selector != UVC_VC_REQUEST_ERROR_CODE_CONTROL)
            return false;
        *reply = {0x06};
        return true;
    }
    const Control* c = Find(camera, request.entity, request.selector);
    if (c == nullptr)
        return false;
    switch (request.request) {
    case UVC_GET_CUR:
        if (c->stallsOnGetCur)
            return false;
        *reply = Encode(c->cur, c->size);
        return true;
    case UVC_GET_MIN:
        *reply = Encode(c->min, c->size);
        return true;
    case UVC_GET_MAX:
        *reply = Encode(c->max, c->size);
        return true;
    case UVC_GET_RES:
        *reply = Encode(c->res, c->size);
        return true;
    case UVC_GET_DEF:
        *reply = Encode(c->def, c->size);
        return true;
    case UVC_GET_INFO:
        *reply = {static_cast<uint8_t>(kInfoGetSet |
                                       (c->keepsValue || camera.readBack ? kInfoAutoUpdate : 0))};
        return true;
    case UVC_GET_LEN:
        *reply = Encode(c->size, 2);
        return true;
    default:
        return false;
    }
}

bool ApplySet(Camera* camera, const ClassRequest& request, const std::vector<uint8_t>& data) {
    if (request.request != UVC_SET_CUR)
        return false;
    if (request.interface == kStreamingInterface) {
        if (request.selector != UVC_VS_PROBE_CONTROL && request.selector != UVC_VS_COMMIT_CONTROL)
            return false;
        for (size_t i = 0; i < data.size() && i < camera->probe.size(); ++i)
            camera->probe[i] = data[i];
        return true;
    }
    Control* c = Find(camera, request.entity, request.selector);
    if (c == nullptr || data.size() != c->size || c->keepsValue)
        return false;
    c->cur = Decode(data, c->size, IsSigned(*c));
    return true;
}

} // namespace uvccamera
