// uvc_camera: the emulated UVC camera, run inside the test VM. It opens the
// dummy_udc controller's endpoint 0 in gadgetfs (mounted at /dev/gadget),
// writes the descriptors, and answers endpoint 0 until it is killed, when the
// camera is unplugged with it. Every SET_CUR is appended to the log file as
// it arrives, one line each, marked "refused" when the camera did not take
// it, so a test can tell exactly what was written to the camera, in order.
// Once LOGFILE.unplug exists, it leaves in the middle of the next class
// request, as a camera pulled out during a restore.
// Given a delay, the camera is slow to take a control's value, as some real
// cameras are: after each SET_CUR of a control it is busy that long before
// it answers the next request. gadgetfs completes a SET_CUR's data stage by
// itself, so the wait shows where uvcvideo reads the control back, which it
// does after every write here: each control says it may change by itself.
// Usage: uvc_camera full|second LOGFILE [SET_CUR DELAY IN MS]
#include "tests/integration/uvccamera/camera.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <linux/usb/ch9.h>
#include <linux/usb/gadgetfs.h>
#include <linux/usb/video.h>
#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace uvccamera;

namespace {

const char kEndpoint0[] = "/dev/gadget/dummy_udc";
std::string g_unplugFile;

// A file descriptor closed when it goes out of scope.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0)
            close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// gadgetfs drops an OUT data stage that the program is slow to read, and
// uvcvideo then gives up on the camera: run ahead of everything else in the
// guest and never wait for a page.
void RunFirst() {
    sched_param param = {};
    param.sched_priority = 50;
    if (sched_setscheduler(0, SCHED_FIFO, &param) != 0)
        std::perror("uvc_camera: SCHED_FIFO");
    if (mlockall(MCL_CURRENT | MCL_FUTURE) != 0)
        std::perror("uvc_camera: mlockall");
}

// An IN request's stall is a read of endpoint 0, an OUT request's a write.
void Stall(int fd, bool in) {
    char byte = 0;
    ssize_t ignored = in ? read(fd, &byte, 0) : write(fd, &byte, 0);
    (void)ignored;
}

void Reply(int fd, const std::vector<uint8_t>& data, uint16_t length) {
    const size_t size = data.size() < length ? data.size() : length;
    if (write(fd, data.data(), size) < 0)
        std::fprintf(stderr, "uvc_camera: reply failed: %s\n", std::strerror(errno));
}

// A status stage for a request without data.
void Acknowledge(int fd) {
    char byte = 0;
    if (read(fd, &byte, 0) < 0)
        std::fprintf(stderr, "uvc_camera: acknowledge failed: %s\n", std::strerror(errno));
}

void Log(FILE* log, const ClassRequest& r, const std::vector<uint8_t>& data, bool applied) {
    std::fprintf(log, "SET_CUR interface=%u entity=%u selector=%u data=", r.interface, r.entity,
                 r.selector);
    for (uint8_t byte : data)
        std::fprintf(log, "%02x", byte);
    std::fprintf(log, applied ? "\n" : " refused\n");
    std::fflush(log);
}

void HandleStandard(int fd, const usb_ctrlrequest& setup) {
    const bool in = (setup.bRequestType & USB_DIR_IN) != 0;
    const uint16_t value = setup.wValue, length = setup.wLength;
    if (setup.bRequest == USB_REQ_GET_DESCRIPTOR && (value >> 8) == USB_DT_STRING) {
        const std::vector<uint8_t> d = StringDescriptor(static_cast<uint8_t>(value));
        if (d.empty())
            Stall(fd, true);
        else
            Reply(fd, d, length);
        return;
    }
    if (setup.bRequest == USB_REQ_GET_INTERFACE && in) {
        Reply(fd, {0}, length);
        return;
    }
    // SET_CONFIGURATION and SET_INTERFACE: one configuration, one setting.
    if ((setup.bRequest == USB_REQ_SET_CONFIGURATION || setup.bRequest == USB_REQ_SET_INTERFACE) &&
        !in) {
        Acknowledge(fd);
        return;
    }
    Stall(fd, in);
}

void HandleClass(int fd, Camera* camera, FILE* log, const usb_ctrlrequest& setup,
                 unsigned setDelayMs) {
    if (access(g_unplugFile.c_str(), F_OK) == 0)
        _exit(0); // closing endpoint 0 disconnects the device
    const bool in = (setup.bRequestType & USB_DIR_IN) != 0;
    const uint16_t length = setup.wLength;
    ClassRequest r;
    r.request = setup.bRequest;
    r.interface = static_cast<uint8_t>(setup.wIndex);
    r.entity = static_cast<uint8_t>(setup.wIndex >> 8);
    r.selector = static_cast<uint8_t>(setup.wValue >> 8);
    r.length = length;
    if (in) {
        std::vector<uint8_t> reply;
        if (AnswerGet(*camera, r, &reply))
            Reply(fd, reply, length);
        else
            Stall(fd, true);
        return;
    }
    std::vector<uint8_t> data(length);
    if (length > 0) {
        const ssize_t n = read(fd, data.data(), length);
        if (n < 0) {
            std::fprintf(stderr, "uvc_camera: SET_CUR data lost: %s\n", std::strerror(errno));
            return;
        }
        data.resize(static_cast<size_t>(n));
    } else {
        Acknowledge(fd);
    }
    // The data stage is over: a value the camera refuses can only be
    // reported by the next request's error code, which uvcvideo does not ask.
    Log(log, r, data, ApplySet(camera, r, data));
    // Busy only once the data is in: a request that arrives while its data
    // is unread makes gadgetfs drop that data.
    if (setDelayMs > 0 && r.interface == kControlInterface)
        usleep(setDelayMs * 1000);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4 ||
        (std::strcmp(argv[1], "full") != 0 && std::strcmp(argv[1], "second") != 0)) {
        std::fprintf(stderr, "usage: uvc_camera full|second LOGFILE [SET_CUR DELAY IN MS]\n");
        return 2;
    }
    const unsigned setDelayMs = argc == 4 ? static_cast<unsigned>(std::atoi(argv[3])) : 0;
    Camera camera =
        MakeCamera(std::strcmp(argv[1], "full") == 0 ? Configuration::Full : Configuration::Second);
    camera.readBack = setDelayMs > 0;
    FILE* log = std::fopen(argv[2], "a");
    g_unplugFile = std::string(argv[2]) + ".unplug";
    if (log == nullptr) {
        std::perror(argv[2]);
        return 1;
    }
    RunFirst();

    CFd ep0(open(kEndpoint0, O_RDWR));
    if (ep0.Get() < 0) {
        std::perror(kEndpoint0);
        return 1;
    }
    const std::vector<uint8_t> setup = DeviceSetup(camera);
    if (write(ep0.Get(), setup.data(), setup.size()) != static_cast<ssize_t>(setup.size())) {
        std::fprintf(stderr, "uvc_camera: descriptors refused: %s\n", std::strerror(errno));
        return 1;
    }

    usb_gadgetfs_event events[5];
    for (;;) {
        const ssize_t n = read(ep0.Get(), events, sizeof events);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN)
                continue;
            std::fprintf(stderr, "uvc_camera: endpoint 0: %s\n", std::strerror(errno));
            return 1;
        }
        for (size_t i = 0; i < static_cast<size_t>(n) / sizeof events[0]; ++i) {
            if (events[i].type != GADGETFS_SETUP)
                continue;
            const usb_ctrlrequest& request = events[i].u.setup;
            if ((request.bRequestType & USB_TYPE_MASK) == USB_TYPE_CLASS)
                HandleClass(ep0.Get(), &camera, log, request, setDelayMs);
            else
                HandleStandard(ep0.Get(), request);
        }
    }
}
