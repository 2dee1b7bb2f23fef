// Device notifications for a dialog window: the system sends it
// WM_DEVICECHANGE when a video capture device arrives or goes.
#pragma once

#include <windows.h>

// Registers hWnd for arrivals and removals of capture devices; the
// registration is kept with the window until UnregisterDeviceChanges.
void RegisterDeviceChanges(HWND hWnd);
void UnregisterDeviceChanges(HWND hWnd);
