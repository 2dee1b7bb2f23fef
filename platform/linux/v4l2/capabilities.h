// What a node's VIDIOC_QUERYCAP answer says: is it a camera, what is it called.
#pragma once

#include <linux/videodev2.h>
#include <string>

// True for a node that captures video frames. Judged on the node's own
// capabilities, because the device-wide field also claims capture on a
// camera's metadata node.
bool IsCaptureNode(const v4l2_capability& caps);

// The card field as bytes: it stops at the first NUL or at the end of the
// field, whichever comes first, and loses its trailing blanks.
std::string CardName(const v4l2_capability& caps);

// The driver and bus_info fields, which together tell one device from another.
std::string DriverName(const v4l2_capability& caps);
std::string BusInfo(const v4l2_capability& caps);
