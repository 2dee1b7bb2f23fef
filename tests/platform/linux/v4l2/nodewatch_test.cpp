// The watch on /dev, pointed at a scratch directory whose event queue
// overflows: the events lost may have been video nodes.
#include "platform/linux/v4l2/nodewatch.h"

#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

TEST(VideoNodeWatch, AnOverflowedQueueCountsAsNodesComeAndGone) {
    char dir[] = "/tmp/vk37-watch-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string file = std::string(dir) + "/other";
    close(open(file.c_str(), O_CREAT | O_WRONLY, 0600));
    CVideoNodeWatch watch(dir);
    // One event more than the queue holds, none a video node's; the file's
    // and the directory's alternate, as the kernel merges an event into an
    // equal one before it.
    long limit = 16384;
    std::ifstream("/proc/sys/fs/inotify/max_queued_events") >> limit;
    for (long i = 0; i <= limit; ++i)
        chmod(i % 2 ? file.c_str() : dir, i % 4 < 2 ? 0700 : 0750);
    EXPECT_EQ(watch.ReadChanges(), CVideoNodeWatch::kNodeAdded | CVideoNodeWatch::kNodeRemoved);
    unlink(file.c_str());
    rmdir(dir);
}
