// Device arrival and removal for a dialog window, as Windows reports them
// with WM_DEVICECHANGE: video nodes watched in /dev, a burst of changes (the
// kernel's node, then udevd's owner and mode, several nodes of one camera)
// told once when it has settled.
#pragma once

#include "platform/wintypes.h"

#include <QObject>

#include <functional>

// Calls deliver(DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE) on the Qt
// thread once per settled burst, for as long as the returned object (a
// child of parent) lives. Without inotify it never calls.
QObject* CreateDeviceNotifier(QObject* parent, std::function<void(UINT event)> deliver);
