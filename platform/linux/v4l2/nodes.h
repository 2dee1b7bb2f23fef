// Finding the machine's cameras: the /dev/videoN nodes that capture video,
// in node-number order.
#pragma once

#include "platform/linux/v4l2/syscalls.h"
#include "platform/wintypes.h"

#include <memory>
#include <string>
#include <vector>

struct CNodeInfo {
    int number = -1;
    std::string path;
    std::wstring friendlyName;
    // The name before a suffix told namesakes apart: what the driver reports.
    std::wstring plainName;
    // False for a node listed without being opened (no permission).
    bool checked = false;
    // Who answered at enumeration time; binding refuses a different device
    // that has since taken the same node.
    std::string driver;
    std::string busInfo;
};

// The node number of a /dev entry named "videoN", or -1 for any other name.
int VideoNodeNumber(const std::string& entry);

// The capture nodes, ordered by number. A node that cannot be opened for lack
// of permission is listed by its sysfs name when sysfs shows it as the first
// node of its device (index 0): its capabilities cannot be read, and the
// first node is the one a camera driver registers for its frames, while its
// metadata node comes later. Nodes that fail in any other way are left out.
// Names shared within the list carry a suffix that tells the nodes apart
// (see TellNamesakesApart).
HRESULT FindCaptureNodes(const std::shared_ptr<ISystemCalls>& calls, std::vector<CNodeInfo>* nodes);
