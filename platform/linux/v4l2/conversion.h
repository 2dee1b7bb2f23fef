// Turning V4L2 control values into the numbers DirectShow callers expect.
#pragma once

#include "platform/wintypes.h"

#include <cstdint>

// Nearest LONG: values outside its range stop at its ends.
LONG ClampToLong(int64_t value);
LONG ClampToLong(uint64_t value);

// DirectShow states exposure as log2 of seconds; V4L2's absolute exposure
// counts 100 µs units. Rounded to the nearest integer; 0 and below count as
// the smallest positive exposure, 1 unit.
LONG ExposureToLog2Seconds(int64_t units);

// 0 for the black-and-white colour effect, 1 for every other effect.
LONG ColorEnableFromEffect(int64_t effect);
