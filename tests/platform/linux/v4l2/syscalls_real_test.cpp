// The real system-call layer on ordinary files: errors come back as errno
// values, directory listings and small reads are whole. And the /dev watch
// on a directory whose event queue overflows.
#include "platform/linux/v4l2/nodewatch.h"
#include "platform/linux/v4l2/syscalls.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/videodev2.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class RealSystemCallsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/vk37-syscalls-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        m_dir = pattern;
    }
    void TearDown() override {
        for (const std::string& name : m_created)
            unlink((m_dir + "/" + name).c_str());
        rmdir(m_dir.c_str());
    }
    std::string Create(const std::string& name, const std::string& contents) {
        FILE* file = std::fopen((m_dir + "/" + name).c_str(), "wb");
        EXPECT_NE(file, nullptr);
        if (file != nullptr) {
            std::fwrite(contents.data(), 1, contents.size(), file);
            std::fclose(file);
        }
        m_created.push_back(name);
        return m_dir + "/" + name;
    }

    std::shared_ptr<ISystemCalls> m_calls = RealSystemCalls();
    std::string m_dir;
    std::vector<std::string> m_created;
};

TEST_F(RealSystemCallsTest, FailuresAnswerTheirErrno) {
    int fd = -1;
    EXPECT_EQ(m_calls->Open(m_dir + "/missing", O_RDONLY, &fd), ENOENT);
    EXPECT_EQ(fd, -1);
    std::string contents;
    EXPECT_EQ(m_calls->ReadFile(m_dir + "/missing", &contents), ENOENT);
    std::vector<std::string> names;
    EXPECT_EQ(m_calls->ListDirectory(m_dir + "/missing", &names), ENOENT);
    EXPECT_EQ(m_calls->Close(-1), EBADF);
}

TEST_F(RealSystemCallsTest, IoctlOnAPlainFileIsNotSupported) {
    const std::string path = Create("plain", "x");
    int fd = -1;
    ASSERT_EQ(m_calls->Open(path, O_RDWR | O_NONBLOCK, &fd), 0);
    v4l2_capability caps = {};
    // No kernel answers ENOSYS to an ioctl; qemu-user does, for every V4L2
    // request, before the kernel sees it (the arm64 build's unit tests).
    if (m_calls->Ioctl(fd, VIDIOC_QUERYCAP, &caps) == ENOSYS) {
        m_calls->Close(fd);
        GTEST_SKIP() << "an emulator that passes no V4L2 request to the kernel";
    }
    EXPECT_EQ(m_calls->Ioctl(fd, VIDIOC_QUERYCAP, &caps), ENOTTY);
    EXPECT_EQ(m_calls->Close(fd), 0);
    EXPECT_EQ(m_calls->Ioctl(fd, VIDIOC_QUERYCAP, &caps), EBADF);
}

TEST_F(RealSystemCallsTest, ListsEntriesAndReadsWholeFiles) {
    const std::string big(1000, 'a'); // longer than one read
    Create("video3", "Camera name\n");
    Create("big", big);
    std::vector<std::string> names;
    ASSERT_EQ(m_calls->ListDirectory(m_dir, &names), 0);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"big", "video3"}));

    std::string contents;
    ASSERT_EQ(m_calls->ReadFile(m_dir + "/video3", &contents), 0);
    EXPECT_EQ(contents, "Camera name\n");
    ASSERT_EQ(m_calls->ReadFile(m_dir + "/big", &contents), 0);
    EXPECT_EQ(contents, big);
}

// One event more than the queue holds, none a video node's; the file's and
// the directory's alternate, as the kernel merges an event into an equal
// one before it. The events lost may have been video nodes.
TEST_F(RealSystemCallsTest, AnOverflowedNodeWatchCountsAsNodesComeAndGone) {
    const std::string file = Create("other", "");
    CVideoNodeWatch watch(m_dir.c_str());
    long limit = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
    for (long i = 0; i <= limit; ++i)
        chmod(i % 2 ? file.c_str() : m_dir.c_str(), i % 4 < 2 ? 0700 : 0750);
    EXPECT_EQ(watch.ReadChanges(), CVideoNodeWatch::kNodeAdded | CVideoNodeWatch::kNodeRemoved);
}

} // namespace
