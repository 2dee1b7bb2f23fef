// The emulated camera's USB descriptors: one UVC 1.10 function with a
// camera terminal, a processing unit and an output terminal, and a streaming
// interface with one bulk endpoint and one uncompressed format. The
// terminal's and the unit's control bitmaps follow the camera's control
// table, so a control left out of a configuration is not declared either.
#include "tests/integration/uvccamera/camera.h"

#include <linux/usb/ch9.h>
#include <linux/usb/video.h>

namespace uvccamera {

namespace {

// pid.codes' test ids: no uvcvideo quirk matches them.
constexpr uint16_t kVendor = 0x1209;
constexpr uint16_t kProduct = 0x0001;

void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

void Set16(std::vector<uint8_t>& out, size_t at, size_t v) {
    out[at] = static_cast<uint8_t>(v);
    out[at + 1] = static_cast<uint8_t>(v >> 8);
}

// The processing unit's bmControls bit of each selector; camera terminal
// selectors sit at bit selector - 1.
int ProcessingBit(uint8_t selector) {
    switch (selector) {
    case UVC_PU_BRIGHTNESS_CONTROL:
        return 0;
    case UVC_PU_CONTRAST_CONTROL:
        return 1;
    case UVC_PU_HUE_CONTROL:
        return 2;
    case UVC_PU_SATURATION_CONTROL:
        return 3;
    case UVC_PU_SHARPNESS_CONTROL:
        return 4;
    case UVC_PU_GAMMA_CONTROL:
        return 5;
    case UVC_PU_WHITE_BALANCE_TEMPERATURE_CONTROL:
        return 6;
    case UVC_PU_BACKLIGHT_COMPENSATION_CONTROL:
        return 8;
    case UVC_PU_GAIN_CONTROL:
        return 9;
    case UVC_PU_POWER_LINE_FREQUENCY_CONTROL:
        return 10;
    case UVC_PU_WHITE_BALANCE_TEMPERATURE_AUTO_CONTROL:
        return 12;
    default:
        return -1;
    }
}

uint32_t ControlBits(const Camera& camera, uint8_t entity) {
    uint32_t bits = 0;
    for (const Control& c : camera.controls) {
        if (c.entity != entity)
            continue;
        const int bit = entity == kCameraTerminal ? c.selector - 1 : ProcessingBit(c.selector);
        if (bit >= 0)
            bits |= 1u << bit;
    }
    return bits;
}

// The whole configuration; only the bulk endpoint's packet size differs
// between full and high speed.
std::vector<uint8_t> ConfigurationDescriptors(const Camera& camera, uint16_t packetSize) {
    std::vector<uint8_t> d = {9, USB_DT_CONFIG, 0, 0, 2, 1, 0, USB_CONFIG_ATT_ONE, 50};
    // Interface association: both interfaces are one video function.
    d.insert(d.end(), {8, USB_DT_INTERFACE_ASSOCIATION, kControlInterface, 2, USB_CLASS_VIDEO,
                       UVC_SC_VIDEO_INTERFACE_COLLECTION, 0, 0});
    d.insert(d.end(), {9, USB_DT_INTERFACE, kControlInterface, 0, 0, USB_CLASS_VIDEO,
                       UVC_SC_VIDEOCONTROL, 0, 0});

    const size_t header = d.size();
    d.insert(d.end(), {13, USB_DT_CS_INTERFACE, UVC_VC_HEADER});
    Put16(d, 0x0110);
    Put16(d, 0); // wTotalLength, set below
    Put32(d, 48000000);
    d.insert(d.end(), {1, kStreamingInterface});

    const uint32_t ct = ControlBits(camera, kCameraTerminal);
    d.insert(d.end(), {18, USB_DT_CS_INTERFACE, UVC_VC_INPUT_TERMINAL, kCameraTerminal});
    Put16(d, UVC_ITT_CAMERA);
    d.insert(d.end(), {0, 0});
    Put16(d, 0); // objective focal length min, max; ocular focal length
    Put16(d, 0);
    Put16(d, 0);
    d.insert(d.end(), {3, static_cast<uint8_t>(ct), static_cast<uint8_t>(ct >> 8),
                       static_cast<uint8_t>(ct >> 16)});

    const uint32_t pu = ControlBits(camera, kProcessingUnit);
    d.insert(d.end(),
             {12, USB_DT_CS_INTERFACE, UVC_VC_PROCESSING_UNIT, kProcessingUnit, kCameraTerminal});
    Put16(d, 0); // wMaxMultiplier
    d.insert(d.end(), {2, static_cast<uint8_t>(pu), static_cast<uint8_t>(pu >> 8), 0, 0});

    d.insert(d.end(), {9, USB_DT_CS_INTERFACE, UVC_VC_OUTPUT_TERMINAL, kOutputTerminal});
    Put16(d, UVC_TT_STREAMING);
    d.insert(d.end(), {0, kProcessingUnit, 0});
    Set16(d, header + 5, d.size() - header);

    d.insert(d.end(), {9, USB_DT_INTERFACE, kStreamingInterface, 0, 1, USB_CLASS_VIDEO,
                       UVC_SC_VIDEOSTREAMING, 0, 0});
    const size_t input = d.size();
    d.insert(d.end(), {14, USB_DT_CS_INTERFACE, UVC_VS_INPUT_HEADER, 1});
    Put16(d, 0); // wTotalLength, set below
    d.insert(d.end(), {USB_DIR_IN | 1, 0, kOutputTerminal, 0, 0, 0, 1, 0});
    // YUY2, 16 bits a pixel, one frame size.
    d.insert(d.end(), {27,
                       USB_DT_CS_INTERFACE,
                       UVC_VS_FORMAT_UNCOMPRESSED,
                       1,
                       1,
                       'Y',
                       'U',
                       'Y',
                       '2',
                       0x00,
                       0x00,
                       0x10,
                       0x00,
                       0x80,
                       0x00,
                       0x00,
                       0xAA,
                       0x00,
                       0x38,
                       0x9B,
                       0x71,
                       16,
                       1,
                       0,
                       0,
                       0,
                       0});
    const uint32_t frameSize = 160 * 120 * 2, interval = 333333;
    d.insert(d.end(), {30, USB_DT_CS_INTERFACE, UVC_VS_FRAME_UNCOMPRESSED, 1, 0});
    Put16(d, 160);
    Put16(d, 120);
    Put32(d, frameSize * 8 * 30);
    Put32(d, frameSize * 8 * 30);
    Put32(d, frameSize);
    Put32(d, interval);
    d.push_back(1);
    Put32(d, interval);
    d.insert(d.end(), {6, USB_DT_CS_INTERFACE, UVC_VS_COLORFORMAT, 1, 1, 4});
    Set16(d, input + 4, d.size() - input);

    d.insert(d.end(), {7, USB_DT_ENDPOINT, USB_DIR_IN | 1, USB_ENDPOINT_XFER_BULK});
    Put16(d, packetSize);
    d.push_back(0);

    Set16(d, 2, d.size());
    return d;
}

} // namespace

std::vector<uint8_t> DeviceSetup(const Camera& camera) {
    std::vector<uint8_t> out = {0, 0, 0, 0};
    const std::vector<uint8_t> fs = ConfigurationDescriptors(camera, 64);
    const std::vector<uint8_t> hs = ConfigurationDescriptors(camera, 512);
    out.insert(out.end(), fs.begin(), fs.end());
    out.insert(out.end(), hs.begin(), hs.end());
    // Miscellaneous class with interface associations; ep0's packet size is
    // filled in by gadgetfs.
    out.insert(out.end(), {18, USB_DT_DEVICE, 0x00, 0x02, USB_CLASS_MISC, 2, 1, 0});
    Put16(out, kVendor);
    Put16(out, kProduct);
    Put16(out, 0x0100);
    out.insert(out.end(), {1, 2, 0, 1});
    return out;
}

std::vector<uint8_t> StringDescriptor(uint8_t index) {
    if (index == 0)
        return {4, USB_DT_STRING, 0x09, 0x04}; // US English
    const char* text = index == 1 ? "VK37 tests" : index == 2 ? kProductName : nullptr;
    if (text == nullptr)
        return {};
    std::vector<uint8_t> d = {0, USB_DT_STRING};
    for (const char* c = text; *c != '\0'; ++c)
        Put16(d, static_cast<uint8_t>(*c));
    d[0] = static_cast<uint8_t>(d.size());
    return d;
}

} // namespace uvccamera
