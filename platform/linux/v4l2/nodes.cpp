// Node discovery: list /dev, ask each video node what it is, keep the cameras.
#include "platform/linux/v4l2/nodes.h"

#include "platform/linux/v4l2/capabilities.h"
#include "platform/linux/errno_mapping.h"
#include "platform/linux/v4l2/friendlyname.h"
#include "platform/linux/v4l2/v4l2device.h"

#include <algorithm>

namespace {

const char kDevDirectory[] = "/dev";
const char kPrefix[] = "video";

std::string SysfsAttribute(ISystemCalls& calls, int number, const char* attribute) {
    std::string value;
    if (calls.ReadFile("/sys/class/video4linux/video" + std::to_string(number) + "/" + attribute,
                       &value) != 0)
        value.clear();
    return value;
}

// Fills node for a camera; false when the node is to be left out.
bool Inspect(const std::shared_ptr<ISystemCalls>& calls, CNodeInfo* node) {
    const std::string sysfsName = SysfsAttribute(*calls, node->number, "name");
    CV4l2Device device;
    const HRESULT hr = device.Open(calls, node->path);
    if (hr == E_ACCESSDENIED) {
        std::string index = SysfsAttribute(*calls, node->number, "index");
        while (!index.empty() && (index.back() == '\n' || index.back() == ' '))
            index.pop_back();
        // Only the first node of a device, so a locked camera shows once
        // and not once per metadata node; without sysfs it shows by path.
        if (!index.empty() && index != "0")
            return false;
        node->friendlyName = ChooseFriendlyName("", sysfsName, node->path);
        return true;
    }
    v4l2_capability caps;
    if (hr != S_OK || device.QueryCapabilities(&caps) != S_OK || !IsCaptureNode(caps))
        return false;
    node->checked = true;
    node->driver = DriverName(caps);
    node->busInfo = BusInfo(caps);
    node->friendlyName = ChooseFriendlyName(CardName(caps), sysfsName, node->path);
    return true;
}

} // namespace

int VideoNodeNumber(const std::string& entry) {
    const size_t prefix = sizeof kPrefix - 1;
    if (entry.size() <= prefix || entry.size() > prefix + 9 || entry.compare(0, prefix, kPrefix))
        return -1;
    if (entry[prefix] == '0' && entry.size() > prefix + 1)
        return -1; // "video01" would name a different node than it reads as
    int number = 0;
    for (size_t i = prefix; i < entry.size(); ++i) {
        if (entry[i] < '0' || entry[i] > '9')
            return -1;
        number = number * 10 + (entry[i] - '0');
    }
    return number;
}

HRESULT FindCaptureNodes(const std::shared_ptr<ISystemCalls>& calls,
                         std::vector<CNodeInfo>* nodes) {
    nodes->clear();
    std::vector<std::string> entries;
    if (const int error = calls->ListDirectory(kDevDirectory, &entries))
        return HResultFromErrno(error);

    std::vector<int> numbers;
    for (const std::string& entry : entries) {
        const int number = VideoNodeNumber(entry);
        if (number >= 0)
            numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());

    for (const int number : numbers) {
        CNodeInfo node;
        node.number = number;
        node.path = std::string(kDevDirectory) + "/" + kPrefix + std::to_string(number);
        if (Inspect(calls, &node))
            nodes->push_back(std::move(node));
    }
    TellNamesakesApart(nodes);
    return S_OK;
}
