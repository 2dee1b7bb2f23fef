// A fake kernel for the camera source: a table of /dev/videoN nodes with
// their capabilities, sysfs attributes and controls. It counts opens and
// closes, lets a test unplug a node or make a call fail with a chosen errno,
// records every control write in order, and records any ioctl it does not
// know, so a test can prove what changed a setting and that nothing else did.
#pragma once

#include "platform/linux/v4l2/syscalls.h"

#include <cerrno>
#include <cstdint>
#include <functional>
#include <linux/videodev2.h>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

struct CFakeControl {
    uint32_t type = V4L2_CTRL_TYPE_INTEGER;
    int64_t minimum = 0;
    int64_t maximum = 0;
    uint64_t step = 1;
    int64_t defaultValue = 0;
    uint32_t flags = 0;
    int64_t value = 0;
    int readErrno = 0;  // answer to G_CTRL / G_EXT_CTRLS instead of the value
    int writeErrno = 0; // answer to S_CTRL / S_EXT_CTRLS; the value stays
};

struct CFakeNode {
    std::string driver = "uvcvideo";
    std::string card; // up to 32 bytes, copied without a terminator when it fills them
    std::string busInfo = "usb-0000:00:14.0-1";
    uint32_t capabilities = 0;
    uint32_t deviceCaps = 0;
    std::string sysfsName; // empty: the attribute cannot be read
    std::string sysfsIndex = "0\n";
    int openErrno = 0;
    bool oldIoctlsOnly = false;              // answers ENOTTY to the extended control ioctls
    std::map<unsigned long, int> ioctlErrno; // request -> errno
    std::map<uint32_t, CFakeControl> controls;
};

// Capability words of common node kinds.
uint32_t CaptureNodeCaps();
uint32_t MetadataNodeCaps();
// A device-wide capabilities word covering a capture node and a metadata node.
uint32_t WebcamDeviceCaps();

class CFakeKernel final : public ISystemCalls {
public:
    // Adds (or replaces) /dev/videoN; the reference stays valid until unplug.
    CFakeNode& AddNode(int number, CFakeNode node = CFakeNode());
    // The node now at /dev/videoN, for changing it behind open descriptors.
    CFakeNode& Node(int number) { return *m_nodes.at(number)->node; }
    // Descriptors open on the node answer every ioctl with answer (uvcvideo
    // gives EPROTO while its camera leaves); the node leaves /dev and sysfs
    // after lingers more opens, as the kernel removes it a little later.
    void Unplug(int number, int answer = ENODEV, int lingers = 0);
    // Other /dev entries, which enumeration must ignore.
    void AddDevEntry(const std::string& name) { m_otherEntries.push_back(name); }
    void FailDevListing(int error) { m_listErrno = error; }
    // Called after each successful control read, with the control's id.
    void OnControlRead(std::function<void(uint32_t)> hook) { m_afterRead = std::move(hook); }

    int Opens() const { return m_opens; }
    int Closes() const { return m_closes; }
    int OpenDescriptors() const { return static_cast<int>(m_descriptors.size()); }
    const std::vector<unsigned long>& UnknownRequests() const { return m_unknownRequests; }
    const std::set<uint32_t>& ReadControls() const { return m_readControls; }
    using CWrite = std::pair<uint32_t, int64_t>; // control id, value
    // Every control write that reached a node, refused ones included, in order.
    const std::vector<CWrite>& Writes() const { return m_writes; }

    int Open(const std::string& path, int flags, int* fd) override;
    int Close(int fd) override;
    int Ioctl(int fd, unsigned long request, void* arg) override;
    int ListDirectory(const std::string& path, std::vector<std::string>* names) override;
    int ReadFile(const std::string& path, std::string* contents) override;

private:
    struct CPresentNode {
        std::shared_ptr<CFakeNode> node;
        int unpluggedAnswer = 0; // 0 while plugged in
        int lingers = 0;
    };
    using NodeRef = std::shared_ptr<CPresentNode>;

    int QueryCap(const CFakeNode& node, v4l2_capability* caps);
    int QueryControl(const CFakeNode& node, unsigned long request, void* arg);
    int ReadControl(const CFakeNode& node, unsigned long request, void* arg);
    int WriteControl(CFakeNode& node, unsigned long request, void* arg);

    std::map<int, NodeRef> m_nodes;
    std::map<int, NodeRef> m_descriptors;
    std::vector<std::string> m_otherEntries;
    std::vector<unsigned long> m_unknownRequests;
    std::set<uint32_t> m_readControls;
    std::vector<CWrite> m_writes;
    std::function<void(uint32_t)> m_afterRead;
    int m_listErrno = 0;
    int m_nextFd = 100;
    int m_opens = 0;
    int m_closes = 0;
};

// The typical USB webcam: capture node /dev/video<first> and metadata node
// /dev/video<first + 1>, brightness to white balance, no colour effect, auto
// white balance on, exposure in aperture-priority mode at 156 (15.6 ms).
void AddUsbWebcam(CFakeKernel& kernel, int first, const std::string& card,
                  const std::string& busInfo);
// Absolute focus (0..250 in steps of 5, default 100) with autofocus on by
// default, and absolute zoom (100..500, default 100), as a webcam with a
// motorised lens has them.
void AddFocusAndZoom(CFakeNode& node);
