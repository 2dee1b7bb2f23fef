// Opening, querying and closing one video node.
#include "platform/linux/v4l2/v4l2device.h"

#include "platform/linux/errno_mapping.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <thread>
#include <utility>

namespace {

// What a USB transfer answers when its device does not answer at all. The
// kernel removes the node of a camera pulled out only after it has dealt
// with the unplug, a little later, so for these the node gets time to go:
// up to a second, checked every 20 ms, once per open node.
bool MayBeLeaving(int error) {
    return error == EPROTO || error == EILSEQ || error == ETIME || error == ETIMEDOUT ||
           error == ESHUTDOWN;
}
constexpr int kLeavingChecks = 50;
constexpr std::chrono::milliseconds kLeavingInterval(20);

} // namespace

CV4l2Device::CV4l2Device(CV4l2Device&& other) noexcept
    : m_calls(std::move(other.m_calls)), m_path(std::move(other.m_path)),
      m_fd(std::exchange(other.m_fd, -1)), m_waitedForLeaving(other.m_waitedForLeaving) {}

CV4l2Device& CV4l2Device::operator=(CV4l2Device&& other) noexcept {
    if (this != &other) {
        Close();
        m_calls = std::move(other.m_calls);
        m_path = std::move(other.m_path);
        m_fd = std::exchange(other.m_fd, -1);
        m_waitedForLeaving = other.m_waitedForLeaving;
    }
    return *this;
}

HRESULT CV4l2Device::Open(std::shared_ptr<ISystemCalls> calls, const std::string& path) {
    Close();
    if (!calls)
        return E_POINTER;
    int fd = -1;
    // Read-only and non-blocking: the node is only ever queried, and a
    // user who may read the camera may ask it this much.
    if (const int error = calls->Open(path, O_RDONLY | O_NONBLOCK, &fd))
        // A node that has vanished since it was listed is a camera unplugged.
        return HResultFromErrno(error == ENOENT ? ENODEV : error);
    m_calls = std::move(calls);
    m_path = path;
    m_fd = fd;
    m_waitedForLeaving = false;
    return S_OK;
}

void CV4l2Device::Close() {
    if (m_fd >= 0)
        m_calls->Close(m_fd); // nothing useful to do if the kernel objects
    m_fd = -1;
    m_calls.reset();
    m_path.clear();
}

int CV4l2Device::Ioctl(unsigned long request, void* arg) const {
    if (m_fd < 0)
        return EBADF;
    const int error = m_calls->Ioctl(m_fd, request, arg);
    // V4L2 answers an unknown control or request from its own tables, and
    // ENODEV already says the device left.
    if (error == 0 || error == EINVAL || error == ENOTTY || error == ENODEV)
        return error;
    // A device that is leaving answers what its transport gives: uvcvideo
    // passes on EPROTO for a camera pulled out in the middle of a request,
    // before the node goes. So the node decides, not the errno.
    int checks = MayBeLeaving(error) && !m_waitedForLeaving ? kLeavingChecks : 1;
    while (!NodeIsGone()) {
        if (--checks == 0) {
            m_waitedForLeaving = m_waitedForLeaving || MayBeLeaving(error);
            return error;
        }
        std::this_thread::sleep_for(kLeavingInterval);
    }
    return ENODEV;
}

// Opened again: the kernel refuses a node whose device was unregistered, and
// devtmpfs drops its name.
bool CV4l2Device::NodeIsGone() const {
    int fd = -1;
    const int error = m_calls->Open(m_path, O_RDONLY | O_NONBLOCK, &fd);
    if (error == 0)
        m_calls->Close(fd);
    return error == ENOENT || error == ENODEV || error == ENXIO;
}

HRESULT CV4l2Device::QueryCapabilities(v4l2_capability* caps) const {
    std::memset(caps, 0, sizeof *caps);
    return HResultFromErrno(Ioctl(VIDIOC_QUERYCAP, caps));
}
