// The fake kernel's answers, shaped like the V4L2 ioctls' answers.
#include "tests/platform/linux/v4l2/fakekernel.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

const std::string kDevPrefix = "/dev/video";
const std::string kSysfsPrefix = "/sys/class/video4linux/video";

// The number in prefix + N + suffix, or -1.
int NumberIn(const std::string& path, const std::string& prefix, std::string* suffix) {
    if (path.compare(0, prefix.size(), prefix) != 0)
        return -1;
    size_t end = prefix.size();
    while (end < path.size() && path[end] >= '0' && path[end] <= '9')
        ++end;
    if (end == prefix.size())
        return -1;
    *suffix = path.substr(end);
    return std::stoi(path.substr(prefix.size(), end - prefix.size()));
}

void CopyField(__u8* field, size_t size, const std::string& text) {
    std::memset(field, 0, size);
    std::memcpy(field, text.data(), std::min(size, text.size()));
}

} // namespace

uint32_t CaptureNodeCaps() {
    return V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_EXT_PIX_FORMAT;
}

uint32_t MetadataNodeCaps() {
    return V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING | V4L2_CAP_EXT_PIX_FORMAT;
}

uint32_t WebcamDeviceCaps() {
    return CaptureNodeCaps() | MetadataNodeCaps() | V4L2_CAP_DEVICE_CAPS;
}

CFakeNode& CFakeKernel::AddNode(int number, CFakeNode node) {
    auto present = std::make_shared<CPresentNode>();
    present->node = std::make_shared<CFakeNode>(std::move(node));
    m_nodes[number] = present;
    return *present->node;
}

void CFakeKernel::Unplug(int number, int answer, int lingers) {
    auto it = m_nodes.find(number);
    if (it == m_nodes.end())
        return;
    it->second->unpluggedAnswer = answer;
    it->second->lingers = lingers;
    if (lingers == 0)
        m_nodes.erase(it);
}

int CFakeKernel::Open(const std::string& path, int, int* fd) {
    std::string suffix;
    const int number = NumberIn(path, kDevPrefix, &suffix);
    auto it = m_nodes.find(number);
    if (it != m_nodes.end() && it->second->unpluggedAnswer && it->second->lingers-- == 0)
        m_nodes.erase(it);
    it = m_nodes.find(number);
    if (number < 0 || !suffix.empty() || it == m_nodes.end())
        return ENOENT;
    if (it->second->node->openErrno)
        return it->second->node->openErrno;
    *fd = m_nextFd++;
    m_descriptors[*fd] = it->second;
    ++m_opens;
    return 0;
}

int CFakeKernel::Close(int fd) {
    if (m_descriptors.erase(fd) == 0)
        return EBADF;
    ++m_closes;
    return 0;
}

int CFakeKernel::Ioctl(int fd, unsigned long request, void* arg) {
    auto it = m_descriptors.find(fd);
    if (it == m_descriptors.end())
        return EBADF;
    if (it->second->unpluggedAnswer)
        return it->second->unpluggedAnswer;
    CFakeNode& node = *it->second->node;
    auto injected = node.ioctlErrno.find(request);
    if (injected != node.ioctlErrno.end())
        return injected->second;
    switch (request) {
    case VIDIOC_QUERYCAP:
        return QueryCap(node, static_cast<v4l2_capability*>(arg));
    case VIDIOC_QUERY_EXT_CTRL:
    case VIDIOC_QUERYCTRL:
        return QueryControl(node, request, arg);
    case VIDIOC_G_EXT_CTRLS:
    case VIDIOC_G_CTRL:
        return ReadControl(node, request, arg);
    case VIDIOC_S_EXT_CTRLS:
    case VIDIOC_S_CTRL:
        return WriteControl(node, request, arg);
    default:
        m_unknownRequests.push_back(request);
        return ENOTTY;
    }
}

int CFakeKernel::QueryCap(const CFakeNode& node, v4l2_capability* caps) {
    std::memset(caps, 0, sizeof *caps);
    CopyField(caps->driver, sizeof caps->driver, node.driver);
    CopyField(caps->card, sizeof caps->card, node.card);
    CopyField(caps->bus_info, sizeof caps->bus_info, node.busInfo);
    caps->capabilities = node.capabilities;
    caps->device_caps = node.deviceCaps;
    return 0;
}

int CFakeKernel::QueryControl(const CFakeNode& node, unsigned long request, void* arg) {
    if (request == VIDIOC_QUERY_EXT_CTRL && node.oldIoctlsOnly)
        return ENOTTY;
    const uint32_t id = request == VIDIOC_QUERY_EXT_CTRL
                            ? static_cast<v4l2_query_ext_ctrl*>(arg)->id
                            : static_cast<v4l2_queryctrl*>(arg)->id;
    auto it = node.controls.find(id);
    if (it == node.controls.end())
        return EINVAL;
    const CFakeControl& control = it->second;
    if (request == VIDIOC_QUERY_EXT_CTRL) {
        auto* query = static_cast<v4l2_query_ext_ctrl*>(arg);
        query->type = control.type;
        query->minimum = control.minimum;
        query->maximum = control.maximum;
        query->step = control.step;
        query->default_value = control.defaultValue;
        query->flags = control.flags;
    } else {
        // The old query has 32-bit fields and cannot describe 64-bit controls.
        if (control.type == V4L2_CTRL_TYPE_INTEGER64)
            return EINVAL;
        auto* query = static_cast<v4l2_queryctrl*>(arg);
        query->type = control.type;
        query->minimum = static_cast<__s32>(control.minimum);
        query->maximum = static_cast<__s32>(control.maximum);
        query->step = static_cast<__s32>(control.step);
        query->default_value = static_cast<__s32>(control.defaultValue);
        query->flags = control.flags;
    }
    return 0;
}

int CFakeKernel::ReadControl(const CFakeNode& node, unsigned long request, void* arg) {
    if (request == VIDIOC_G_EXT_CTRLS && node.oldIoctlsOnly)
        return ENOTTY;
    uint32_t id;
    if (request == VIDIOC_G_EXT_CTRLS) {
        auto* controls = static_cast<v4l2_ext_controls*>(arg);
        if (controls->which != V4L2_CTRL_WHICH_CUR_VAL || controls->count != 1)
            return EINVAL;
        id = controls->controls[0].id;
    } else {
        id = static_cast<v4l2_control*>(arg)->id;
    }
    auto it = node.controls.find(id);
    if (it == node.controls.end())
        return EINVAL;
    if (it->second.readErrno)
        return it->second.readErrno;
    m_readControls.insert(id);
    const int64_t value = it->second.value;
    if (request == VIDIOC_G_EXT_CTRLS) {
        v4l2_ext_control& control = static_cast<v4l2_ext_controls*>(arg)->controls[0];
        if (it->second.type == V4L2_CTRL_TYPE_INTEGER64)
            control.value64 = value;
        else
            control.value = static_cast<__s32>(value);
    } else {
        if (it->second.type == V4L2_CTRL_TYPE_INTEGER64)
            return EINVAL;
        static_cast<v4l2_control*>(arg)->value = static_cast<__s32>(value);
    }
    if (m_afterRead)
        m_afterRead(id);
    return 0;
}

int CFakeKernel::WriteControl(CFakeNode& node, unsigned long request, void* arg) {
    if (request == VIDIOC_S_EXT_CTRLS && node.oldIoctlsOnly)
        return ENOTTY;
    uint32_t id;
    int64_t value;
    if (request == VIDIOC_S_EXT_CTRLS) {
        auto* controls = static_cast<v4l2_ext_controls*>(arg);
        if (controls->which != V4L2_CTRL_WHICH_CUR_VAL || controls->count != 1)
            return EINVAL;
        id = controls->controls[0].id;
        value = controls->controls[0].value; // no 64-bit control is ever written
    } else {
        id = static_cast<v4l2_control*>(arg)->id;
        value = static_cast<v4l2_control*>(arg)->value;
    }
    auto it = node.controls.find(id);
    if (it == node.controls.end())
        return EINVAL;
    m_writes.push_back({id, value});
    CFakeControl& control = it->second;
    if (control.writeErrno)
        return control.writeErrno;
    if (value < control.minimum || value > control.maximum)
        return ERANGE;
    control.value = value;
    return 0;
}

int CFakeKernel::ListDirectory(const std::string& path, std::vector<std::string>* names) {
    if (path != "/dev")
        return ENOENT;
    if (m_listErrno)
        return m_listErrno;
    names->assign(m_otherEntries.begin(), m_otherEntries.end());
    // Directory order is not sorted; hand the nodes out backwards.
    for (auto it = m_nodes.rbegin(); it != m_nodes.rend(); ++it)
        names->push_back("video" + std::to_string(it->first));
    return 0;
}

int CFakeKernel::ReadFile(const std::string& path, std::string* contents) {
    std::string suffix;
    const int number = NumberIn(path, kSysfsPrefix, &suffix);
    auto it = m_nodes.find(number);
    if (number < 0 || it == m_nodes.end())
        return ENOENT;
    const CFakeNode& node = *it->second->node;
    if (suffix == "/name" && !node.sysfsName.empty()) {
        *contents = node.sysfsName;
        return 0;
    }
    if (suffix == "/index" && !node.sysfsIndex.empty()) {
        *contents = node.sysfsIndex;
        return 0;
    }
    return ENOENT;
}

void AddUsbWebcam(CFakeKernel& kernel, int first, const std::string& card,
                  const std::string& busInfo) {
    CFakeNode capture;
    capture.card = card;
    capture.busInfo = busInfo;
    capture.capabilities = WebcamDeviceCaps();
    capture.deviceCaps = CaptureNodeCaps();
    capture.sysfsName = card + "\n";
    capture.sysfsIndex = "0\n";

    auto integer = [](int64_t min, int64_t max, int64_t def, int64_t value, uint32_t flags = 0) {
        CFakeControl control;
        control.minimum = min;
        control.maximum = max;
        control.defaultValue = def;
        control.value = value;
        control.flags = flags;
        return control;
    };
    auto boolean = [](int64_t def, int64_t value) {
        CFakeControl control;
        control.type = V4L2_CTRL_TYPE_BOOLEAN;
        control.maximum = 1;
        control.defaultValue = def;
        control.value = value;
        return control;
    };
    auto& c = capture.controls;
    c[V4L2_CID_BRIGHTNESS] = integer(-64, 64, 0, 10);
    c[V4L2_CID_CONTRAST] = integer(0, 95, 32, 40);
    c[V4L2_CID_SATURATION] = integer(0, 128, 64, 70);
    c[V4L2_CID_HUE] = integer(-2000, 2000, 0, -100);
    c[V4L2_CID_AUTO_WHITE_BALANCE] = boolean(1, 1);
    c[V4L2_CID_GAMMA] = integer(100, 300, 100, 120);
    c[V4L2_CID_GAIN] = integer(0, 100, 0, 5);
    c[V4L2_CID_WHITE_BALANCE_TEMPERATURE] =
        integer(2800, 6500, 4600, 5000, V4L2_CTRL_FLAG_INACTIVE);
    c[V4L2_CID_SHARPNESS] = integer(0, 7, 2, 3);
    c[V4L2_CID_BACKLIGHT_COMPENSATION] = integer(0, 2, 1, 1);
    CFakeControl exposureMode;
    exposureMode.type = V4L2_CTRL_TYPE_MENU;
    exposureMode.maximum = V4L2_EXPOSURE_APERTURE_PRIORITY;
    exposureMode.defaultValue = V4L2_EXPOSURE_APERTURE_PRIORITY;
    exposureMode.value = V4L2_EXPOSURE_APERTURE_PRIORITY;
    c[V4L2_CID_EXPOSURE_AUTO] = exposureMode;
    c[V4L2_CID_EXPOSURE_ABSOLUTE] = integer(3, 2047, 156, 156, V4L2_CTRL_FLAG_INACTIVE);
    c[V4L2_CID_EXPOSURE_AUTO_PRIORITY] = boolean(0, 0);
    kernel.AddNode(first, capture);

    CFakeNode metadata = capture;
    metadata.deviceCaps = MetadataNodeCaps();
    metadata.sysfsIndex = "1\n";
    metadata.controls.clear();
    kernel.AddNode(first + 1, metadata);
}

void AddFocusAndZoom(CFakeNode& node) {
    // type, minimum, maximum, step, default, flags, value
    node.controls[V4L2_CID_FOCUS_ABSOLUTE] = {V4L2_CTRL_TYPE_INTEGER,  0, 250, 5, 100,
                                              V4L2_CTRL_FLAG_INACTIVE, 40};
    node.controls[V4L2_CID_FOCUS_AUTO] = {V4L2_CTRL_TYPE_BOOLEAN, 0, 1, 1, 1, 0, 1};
    node.controls[V4L2_CID_ZOOM_ABSOLUTE] = {V4L2_CTRL_TYPE_INTEGER, 100, 500, 1, 100, 0, 250};
}
