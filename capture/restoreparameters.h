// RestoreParameters: the save read backwards. Binds the device at a list
// position and gives it the values and automatic modes of a parameter file,
// property by property, through the same two property interfaces the save
// reads; or, asked only to check, compares them and writes nothing.
#pragma once

#include "capture/capturedevice.h"
#include "capture/parameterfilereader.h"

#include <vector>

enum class PropertyOutcome {
    InPlace,       // the camera already held the file's value and mode: nothing written
    Written,       // written, and read back as the file says
    Differs,       // checking only: the camera holds something else
    SkippedEmpty,  // the file's section holds no values
    SkippedAbsent, // the file has no such section
    BadNumber,     // a key of the section is not a 32-bit number
    OutOfRange,    // the file's value lies outside the file's own range
    RangeDiffers,  // the camera's range or step is not the file's: another model or mode
    NotOnCamera,   // the camera does not have or cannot report the property
    Refused,       // the camera refused the write
    NotTaken,      // the write went through but the camera reads back something else
    DeviceGone,    // the camera left the system here; later properties were not tried
};

struct PropertyResult {
    const FileProperty* file = nullptr;
    PropertyOutcome outcome = PropertyOutcome::SkippedAbsent;
    HRESULT hr = S_OK;          // the failing call's status, where one failed
    PropertyReading range = {}; // the camera's range (lCapsFlags: its capabilities)
    LONG value = 0;             // the camera's value and flags: before the write, or
    LONG flags = 0;             // read back after it
    bool wantAuto = false;      // what the file asks for: automatic mode, or the value
};

// Whether a property result needs the caller's attention (exit status 3).
bool IsShortfall(PropertyOutcome outcome);

enum class RestoreOutcome {
    Done,       // every property of the file was tried
    NotOpened,  // the device could not be bound, or offers neither interface: nothing written
    DeviceGone, // the device left part-way; results holds what was done until then
};

// position is a place in the holder's current list. Results come in file
// order, one per property section. The holder keeps the filter and the two
// interfaces until the next call.
RestoreOutcome RestoreParameters(CCaptureDevice& device, int position, const ParameterFile& file,
                                 bool checkOnly, std::vector<PropertyResult>* results);

// The same restore with the camera's own defaults as its targets: each
// property's range as the camera reports it, and its default value and mode
// from GetPropertyDefault; where the system reports no default mode, the mode
// the camera is in now. They go into *targets, which the results point into,
// in the file's order; a property the camera cannot report is left empty
// (skipped). The results, outcome and writes are RestoreParameters'.
RestoreOutcome RestoreDefaults(CCaptureDevice& device, int position, bool checkOnly,
                               ParameterFile* targets, std::vector<PropertyResult>* results);
