// Turning V4L2 control values into the numbers DirectShow callers expect,
// and those numbers back into control values.
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

// The inverse for a write: 10000 * 2^log2Seconds units, taken to a value the
// control allows (minimum plus a whole number of steps, within its range).
// Of the allowed values next to it, the one that reads back as log2Seconds
// wins; else the nearer one. Whole log2 steps cannot hit every unit value,
// so a value read, written and read again may differ by one step.
int64_t ExposureFromLog2Seconds(LONG log2Seconds, int64_t minimum, int64_t maximum, uint64_t step);

// V4L2_COLORFX_BW for 0, V4L2_COLORFX_NONE for anything else.
int64_t EffectFromColorEnable(LONG colorEnable);
