// The name a camera is listed by.
#pragma once

#include "platform/linux/v4l2/nodes.h"

#include <string>
#include <vector>

// The driver's card name when it decodes to something; else the name sysfs
// gives the node; else the node's path. The inputs are raw bytes.
std::wstring ChooseFriendlyName(const std::string& card, const std::string& sysfsName,
                                const std::string& path);

// Gives each node whose name another node in the list shares a suffix that
// tells it apart, as "name (detail)": its bus info, the way
// `v4l2-ctl --list-devices` shows a device, or its node path when the bus info
// is empty, does not decode, or is shared by a namesake. A unique name stays as
// it is, and the order stays as it is. Every node keeps the name without the
// suffix as its plain name.
void TellNamesakesApart(std::vector<CNodeInfo>* nodes);
