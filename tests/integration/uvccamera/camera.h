// The emulated USB Video Class camera behind the "vm.uvc" test: its two
// configurations, the descriptors it hands gadgetfs, and its answers to the
// class requests the host's uvcvideo driver sends on endpoint 0.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace uvccamera {

// Entity ids in the descriptors: camera terminal, processing unit, output
// terminal. The streaming interface's requests carry no entity.
constexpr uint8_t kCameraTerminal = 1;
constexpr uint8_t kProcessingUnit = 2;
constexpr uint8_t kOutputTerminal = 3;
constexpr uint8_t kControlInterface = 0;
constexpr uint8_t kStreamingInterface = 1;

// full: every control the test reads, exposure included, auto modes off.
// second: no exposure time control, automatic white balance and aperture
// priority on, a contrast whose GET_CUR stalls, and a sharpness that takes
// no new value.
enum class Configuration { Full, Second };

struct Control {
    uint8_t entity;
    uint8_t selector;
    uint8_t size; // bytes on the wire
    int64_t min, max, res, def, cur;
    bool stallsOnGetCur;
    // Accepts SET_CUR's data and keeps its value, and says so the only way
    // UVC allows after the data stage: GET_INFO marks the control as one that
    // changes by itself, so uvcvideo reads it again instead of caching.
    bool keepsValue = false;
};

struct Camera {
    Configuration configuration;
    std::vector<Control> controls;
    // Every control says, through GET_INFO, that it may change by itself,
    // so uvcvideo reads a control back after writing it.
    bool readBack = false;
    // The streaming probe and commit controls' current contents.
    std::vector<uint8_t> probe;
};

Camera MakeCamera(Configuration configuration);

// What gadgetfs wants written to endpoint 0 before the device can enumerate:
// a zero tag, the full-speed and high-speed configurations, the device.
std::vector<uint8_t> DeviceSetup(const Camera& camera);
// The string descriptor at index (0: the language list); empty if none.
std::vector<uint8_t> StringDescriptor(uint8_t index);

// The product name, longer than the 32 bytes uvcvideo keeps of it.
inline constexpr char kProductName[] = "VK37 emulated USB Video Class camera";

// One class request on endpoint 0.
struct ClassRequest {
    uint8_t request; // UVC_SET_CUR, UVC_GET_CUR...
    uint8_t interface;
    uint8_t entity;
    uint8_t selector;
    uint16_t length;
};

// Fills *reply for a GET request; false means stall.
bool AnswerGet(const Camera& camera, const ClassRequest& request, std::vector<uint8_t>* reply);
// Applies a SET_CUR's data; false means stall.
bool ApplySet(Camera* camera, const ClassRequest& request, const std::vector<uint8_t>& data);

} // namespace uvccamera
