// One open video node: owns its descriptor and closes it exactly once, when
// the object goes away, through the system-call interface it was opened with.
#pragma once

#include "platform/linux/v4l2/syscalls.h"
#include "platform/wintypes.h"

#include <linux/videodev2.h>
#include <memory>
#include <string>

class CV4l2Device {
public:
    CV4l2Device() = default;
    ~CV4l2Device() { Close(); }
    CV4l2Device(const CV4l2Device&) = delete;
    CV4l2Device& operator=(const CV4l2Device&) = delete;
    CV4l2Device(CV4l2Device&& other) noexcept;
    CV4l2Device& operator=(CV4l2Device&& other) noexcept;

    // Opens the node for control queries; the result says why it could not.
    HRESULT Open(std::shared_ptr<ISystemCalls> calls, const std::string& path);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }

    // 0 or the errno value: the control queries tell "no such control"
    // (EINVAL) and "no such ioctl" (ENOTTY) apart before mapping the rest.
    // ENODEV for any other failure once the node is gone, whatever errno the
    // driver gave while its device was leaving; after an answer of a USB
    // transfer that found no device, the first time, it waits up to a second
    // for the node to go.
    int Ioctl(unsigned long request, void* arg) const;

    HRESULT QueryCapabilities(v4l2_capability* caps) const;

private:
    bool NodeIsGone() const;

    std::shared_ptr<ISystemCalls> m_calls;
    std::string m_path;
    int m_fd = -1;
    mutable bool m_waitedForLeaving = false; // and found the node still there
};
