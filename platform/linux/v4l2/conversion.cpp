// Value conversions for the property interfaces.
#include "platform/linux/v4l2/conversion.h"

#include <cmath>
#include <limits>
#include <linux/videodev2.h>

LONG ClampToLong(int64_t value) {
    if (value < std::numeric_limits<LONG>::min())
        return std::numeric_limits<LONG>::min();
    if (value > std::numeric_limits<LONG>::max())
        return std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value);
}

LONG ClampToLong(uint64_t value) {
    if (value > static_cast<uint64_t>(std::numeric_limits<LONG>::max()))
        return std::numeric_limits<LONG>::max();
    return static_cast<LONG>(value);
}

LONG ExposureToLog2Seconds(int64_t units) {
    if (units < 1)
        units = 1;
    // Even the largest int64 gives a log2 near 50, far inside LONG.
    return static_cast<LONG>(std::lround(std::log2(static_cast<double>(units) / 10000.0)));
}

LONG ColorEnableFromEffect(int64_t effect) {
    return effect == V4L2_COLORFX_BW ? 0 : 1;
}
