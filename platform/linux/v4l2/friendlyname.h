// The name a camera is listed by.
#pragma once

#include <string>

// The driver's card name when it decodes to something; else the name sysfs
// gives the node; else the node's path. The inputs are raw bytes.
std::wstring ChooseFriendlyName(const std::string& card, const std::string& sysfsName,
                                const std::string& path);
