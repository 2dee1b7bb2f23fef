// The operating-system calls the camera source makes, behind one interface so
// that tests can put a fake device table where the kernel would be. Every
// call answers 0 or the errno value of its failure; nothing here throws.
#pragma once

#include <memory>
#include <string>
#include <vector>

class ISystemCalls {
public:
    virtual ~ISystemCalls() = default;

    // Opens path with open(2) flags; on success *fd holds the descriptor.
    virtual int Open(const std::string& path, int flags, int* fd) = 0;
    virtual int Close(int fd) = 0;
    virtual int Ioctl(int fd, unsigned long request, void* arg) = 0;
    // The entry names of a directory, without "." and "..", in no set order.
    virtual int ListDirectory(const std::string& path, std::vector<std::string>* names) = 0;
    // The whole of a small file such as a sysfs attribute.
    virtual int ReadFile(const std::string& path, std::string* contents) = 0;
};

// The calls of the running kernel; one shared instance.
std::shared_ptr<ISystemCalls> RealSystemCalls();
