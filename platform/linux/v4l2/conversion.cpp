// Value conversions for the property interfaces.
#include "platform/linux/v4l2/conversion.h"

#include <algorithm>
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

int64_t ExposureFromLog2Seconds(LONG log2Seconds, int64_t minimum, int64_t maximum, uint64_t step) {
    if (maximum <= minimum)
        return minimum;
    // Far outside any camera's range the target only needs to stay finite.
    const double target = 10000.0 * std::exp2(std::clamp<double>(log2Seconds, -64, 64));
    const double span = static_cast<double>(maximum) - static_cast<double>(minimum);
    const double unit = step == 0 ? 1.0 : static_cast<double>(step);
    const double lastStep = std::floor(span / unit);
    const double steps = std::clamp((target - static_cast<double>(minimum)) / unit, 0.0, lastStep);
    const auto at = [&](double k) {
        return static_cast<int64_t>(static_cast<double>(minimum) + k * unit);
    };
    const int64_t below = at(std::floor(steps));
    const int64_t above = at(std::min(std::ceil(steps), lastStep));
    const bool belowReads = ExposureToLog2Seconds(below) == log2Seconds;
    const bool aboveReads = ExposureToLog2Seconds(above) == log2Seconds;
    if (belowReads != aboveReads)
        return belowReads ? below : above;
    return target - static_cast<double>(below) <= static_cast<double>(above) - target ? below
                                                                                      : above;
}

int64_t EffectFromColorEnable(LONG colorEnable) {
    return colorEnable == 0 ? V4L2_COLORFX_BW : V4L2_COLORFX_NONE;
}
