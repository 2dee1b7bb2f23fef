// inotify on /dev, reduced to whether video nodes came or went.
#include "platform/linux/v4l2/nodewatch.h"

#include "platform/linux/v4l2/nodes.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>

CVideoNodeWatch::CVideoNodeWatch(const char* directory) {
    m_fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (m_fd < 0)
        return;
    // IN_ATTRIB: udevd gives a node its group and mode after the kernel made it.
    if (inotify_add_watch(m_fd, directory,
                          IN_CREATE | IN_DELETE | IN_ATTRIB | IN_MOVED_TO | IN_MOVED_FROM) < 0) {
        close(m_fd);
        m_fd = -1;
    }
}

CVideoNodeWatch::~CVideoNodeWatch() {
    if (m_fd >= 0)
        close(m_fd);
}

int CVideoNodeWatch::ReadChanges() {
    int changes = 0;
    alignas(inotify_event) char buffer[4096];
    for (;;) {
        const ssize_t length = read(m_fd, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            return changes;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            // The kernel dropped events it had no room for: any node may have
            // come or gone meanwhile.
            if (event->mask & IN_Q_OVERFLOW) {
                changes |= kNodeAdded | kNodeRemoved;
                continue;
            }
            if (event->len == 0 || VideoNodeNumber(event->name) < 0)
                continue;
            if (event->mask & (IN_CREATE | IN_MOVED_TO))
                changes |= kNodeAdded;
            else if (event->mask & (IN_DELETE | IN_MOVED_FROM))
                changes |= kNodeRemoved;
            else
                changes |= kNodeChanged;
        }
    }
}
