// Capture-node test and card name of a VIDIOC_QUERYCAP answer.
#include "platform/linux/v4l2/capabilities.h"

#include <cstdint>

namespace {

// A fixed-size text field that may fill its whole size without a NUL.
std::string Field(const __u8* field, size_t size) {
    const char* text = reinterpret_cast<const char*>(field);
    size_t length = 0;
    while (length < size && text[length] != '\0')
        ++length;
    return std::string(text, length);
}

} // namespace

bool IsCaptureNode(const v4l2_capability& caps) {
    const uint32_t own =
        (caps.capabilities & V4L2_CAP_DEVICE_CAPS) ? caps.device_caps : caps.capabilities;
    if (!(own & (V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_VIDEO_CAPTURE_MPLANE)))
        return false;
    // Touch sensors present themselves as capture nodes too; memory-to-memory
    // and output nodes transform or show frames, they do not film them.
    const uint32_t notCamera = V4L2_CAP_TOUCH | V4L2_CAP_VIDEO_M2M | V4L2_CAP_VIDEO_M2M_MPLANE |
                               V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_VIDEO_OUTPUT_MPLANE;
    return (own & notCamera) == 0;
}

std::string CardName(const v4l2_capability& caps) {
    std::string card = Field(caps.card, sizeof caps.card);
    while (!card.empty() && (card.back() == ' ' || card.back() == '\t'))
        card.pop_back();
    return card;
}

std::string DriverName(const v4l2_capability& caps) {
    return Field(caps.driver, sizeof caps.driver);
}

std::string BusInfo(const v4l2_capability& caps) {
    return Field(caps.bus_info, sizeof caps.bus_info);
}
