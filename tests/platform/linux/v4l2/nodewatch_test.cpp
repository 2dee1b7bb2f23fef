// The watch on /dev, pointed at a scratch directory, when the kernel's event
// queue overflowed: the events lost may have been video nodes.
#include "platform/linux/v4l2/nodewatch.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

TEST(VideoNodeWatch, AnOverflowedQueueCountsAsNodesComeAndGone) {
    char dir[] = "/tmp/vk37-watch-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    CVideoNodeWatch watch(dir);
    const std::string files[] = {std::string(dir) + "/a", std::string(dir) + "/b"};
    for (const std::string& file : files)
        close(open(file.c_str(), O_CREAT | O_WRONLY, 0600));
    EXPECT_EQ(watch.ReadChanges(), 0); // no video node among them
    // One more event than the queue holds, none merging into the one before.
    long limit = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
    for (long i = 0; i <= limit; ++i)
        chmod(files[i % 2].c_str(), i % 4 < 2 ? 0640 : 0600);
    EXPECT_EQ(watch.ReadChanges(), CVideoNodeWatch::kNodeAdded | CVideoNodeWatch::kNodeRemoved);
    for (const std::string& file : files)
        unlink(file.c_str());
    rmdir(dir);
}
