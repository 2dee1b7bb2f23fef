// ISystemCalls on the running kernel. A call interrupted by a signal is
// restarted here, so no caller has to know about EINTR.
#include "platform/linux/v4l2/syscalls.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

class CRealSystemCalls final : public ISystemCalls {
public:
    int Open(const std::string& path, int flags, int* fd) override {
        int result;
        do
            result = ::open(path.c_str(), flags | O_CLOEXEC);
        while (result < 0 && errno == EINTR);
        if (result < 0)
            return errno;
        *fd = result;
        return 0;
    }

    int Close(int fd) override {
        // Linux releases the descriptor even when close reports EINTR, so a
        // retry could close a descriptor another thread has just been given.
        if (::close(fd) < 0 && errno != EINTR)
            return errno;
        return 0;
    }

    int Ioctl(int fd, unsigned long request, void* arg) override {
        int result;
        do
            result = ::ioctl(fd, request, arg);
        while (result < 0 && errno == EINTR);
        return result < 0 ? errno : 0;
    }

    int ListDirectory(const std::string& path, std::vector<std::string>* names) override {
        DIR* dir = ::opendir(path.c_str());
        if (dir == nullptr)
            return errno;
        names->clear();
        int error = 0;
        for (;;) {
            errno = 0;
            const dirent* entry = ::readdir(dir);
            if (entry == nullptr) {
                error = errno;
                break;
            }
            const std::string name = entry->d_name;
            if (name != "." && name != "..")
                names->push_back(name);
        }
        ::closedir(dir);
        return error;
    }

    int ReadFile(const std::string& path, std::string* contents) override {
        int fd = -1;
        if (const int error = Open(path, O_RDONLY, &fd))
            return error;
        contents->clear();
        char buffer[256];
        int error = 0;
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                error = errno;
            if (got <= 0)
                break;
            contents->append(buffer, static_cast<size_t>(got));
        }
        Close(fd);
        return error;
    }
};

} // namespace

std::shared_ptr<ISystemCalls> RealSystemCalls() {
    static const std::shared_ptr<ISystemCalls> s_calls = std::make_shared<CRealSystemCalls>();
    return s_calls;
}
