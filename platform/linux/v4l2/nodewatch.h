// Watches /dev for video nodes coming and going, so an open device list can
// follow the cameras. inotify on the directory sees the kernel's devtmpfs
// create and delete the nodes whether or not udevd runs, and sees udevd hand
// a new node its group and mode, after which it can be opened.
#pragma once

class CVideoNodeWatch {
public:
    // What ReadChanges found, as bits.
    enum : int { kNodeAdded = 1, kNodeRemoved = 2, kNodeChanged = 4 };

    explicit CVideoNodeWatch(const char* directory = "/dev");
    ~CVideoNodeWatch();
    CVideoNodeWatch(const CVideoNodeWatch&) = delete;
    CVideoNodeWatch& operator=(const CVideoNodeWatch&) = delete;

    // The descriptor that becomes readable when something changed in the
    // directory; -1 when it cannot be watched.
    int Fd() const { return m_fd; }

    // Reads what is pending without waiting: kNodeAdded for a videoN node
    // that appeared, kNodeRemoved for one that went, kNodeChanged for one
    // whose owner, mode or link count changed (a removal changes that too),
    // 0 when no video node was concerned. Events lost to a full queue count
    // as nodes added and removed.
    int ReadChanges();

private:
    int m_fd = -1;
};
