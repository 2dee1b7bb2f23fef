// SaveParameters: binds the device at a list position, reads its image
// properties and records them, with the position, in the parameter file.
#pragma once

#include "capture/capturedevice.h"

// The save's messages are entries of the string table, in the program's
// language; capture/ knows them by number (res/resource.h names them, and the
// dialog checks that the numbers agree).
// Shown when every property section is written and exposure was read: IDS_SAVED.
inline constexpr UINT kSavedStringId = 150;
// Shown instead when any write to the parameter file failed: IDS_WRITE_FAILED.
inline constexpr UINT kWriteFailedStringId = 151;
// Shown when a listed device cannot be opened (bound, or its amplifier
// interface obtained), so that nothing was written: IDS_DEVICE_NOT_OPENED.
inline constexpr UINT kNotOpenedStringId = 104;

// position is the device's place in a fresh enumeration, -1 for none. The
// holder keeps the new list, filter and interfaces for the next call to replace.
void SaveParameters(CCaptureDevice& device, int position);

enum class SaveOutcome {
    Saved,       // the device was still at position
    DeviceMoved, // it was found elsewhere and saved with its new position
    DeviceGone,  // it is no longer in the system: nothing written or shown
};

// The same for the device whose moniker display name is deviceId (as
// GetDeviceId gave it when the list was made): it is looked up in the fresh
// enumeration, so a device list that changed since cannot make another
// device's settings land in the file. An empty deviceId goes by position.
SaveOutcome SaveParameters(CCaptureDevice& device, int position, const std::wstring& deviceId);
