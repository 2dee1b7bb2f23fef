// Writers killed at random moments, and writers racing each other: the file
// is always a whole old or new version, and no update is lost.
#include "platform/linux/profile/profilestore.h"
#include "platform/linux/profile/profilesync.h"
#include "profiletestdir.h"

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <thread>

namespace {

using ProfileRaces = CProfileDirTest;

// The number n when text is exactly a version the writer produces, else -1.
long VersionOf(const std::string& text, const std::string& filler) {
    const std::string head = "[S]\r\nn=";
    const std::string tail = "\r\nfiller=" + filler + "\r\n";
    if (text.size() <= head.size() + tail.size() || text.compare(0, head.size(), head) != 0 ||
        text.compare(text.size() - tail.size(), tail.size(), tail) != 0)
        return -1;
    const std::string digits = text.substr(head.size(), text.size() - head.size() - tail.size());
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
        return -1;
    return std::stol(digits);
}

int WaitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return status;
}

TEST_F(ProfileRaces, KilledWriterLeavesOldOrNewFileAndNoTemporaryAfterTheNextWrite) {
    // The filler makes each write long enough for kills to land inside it.
    const std::string filler(64 * 1024, 'f');
    WriteFile("VK37.INI", "[S]\r\nn=0\r\nfiller=" + filler + "\r\n");

    std::random_device seeder;
    const unsigned seed = seeder();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> delayMicros(0, 6000);

    long last = 0;
    int temporariesSeen = 0;
    for (int round = 0; round < 150; ++round) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (long n = last + 1;; ++n)
                WritePrivateProfileStringW(L"S", L"n", std::to_wstring(n).c_str(), L".\\VK37.INI");
        }
        usleep(static_cast<useconds_t>(delayMicros(random)));
        kill(child, SIGKILL);
        WaitFor(child);

        const long n = VersionOf(ReadFile("VK37.INI"), filler);
        ASSERT_GE(n, 0) << "round " << round << ": not a whole version";
        ASSERT_GE(n, last) << "an older version came back";
        last = n;
        temporariesSeen += Entries().size() > 1;
    }
    // Kills inside the sync, a write's longest step, where the child stalls
    // after a signal: the temporary has no name yet, so none may be left.
    int leftAfterSyncKill = 0;
    for (int round = 0; round < 20; ++round) {
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            static int signalFd = ready[1];
            profile::StoreHooks().sync = [](int) {
                (void)!write(signalFd, "s", 1);
                for (;;)
                    pause();
                return 0;
            };
            WritePrivateProfileStringW(L"S", L"n", std::to_wstring(last + 1).c_str(),
                                       L".\\VK37.INI");
            _exit(1);
        }
        close(ready[1]);
        char signal = 0;
        const bool inSync = read(ready[0], &signal, 1) == 1;
        close(ready[0]);
        kill(child, SIGKILL);
        WaitFor(child);
        ASSERT_TRUE(inSync) << "round " << round << ": the writer never synced";
        ASSERT_EQ(VersionOf(ReadFile("VK37.INI"), filler), last);
        leftAfterSyncKill += Entries().size() > 1;
    }
    EXPECT_EQ(leftAfterSyncKill, 0) << "temporaries left by kills during the sync";

    // A kill between naming the temporary and the rename may leave it; the
    // next write, even one that changes nothing, removes it.
    ASSERT_TRUE(
        WritePrivateProfileStringW(L"S", L"n", std::to_wstring(last).c_str(), L".\\VK37.INI"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"});
    RecordProperty("temporaries_seen_after_kill", temporariesSeen);
    RecordProperty("writes_completed", static_cast<int>(last));
}

TEST_F(ProfileRaces, TemporaryLeftByAKilledWriterIsRemovedByTheNextWrite) {
    // What a kill between naming the temporary and the rename leaves behind.
    WriteFile("VK37.INI", "[S]\r\nn=1\r\n");
    WriteFile(profile::TemporaryName("VK37.INI"), "[S]\r\nn=2\r\n");
    EXPECT_TRUE(WritePrivateProfileStringW(L"S", L"n", L"3", L".\\VK37.INI"));
    EXPECT_EQ(ReadFile("VK37.INI"), "[S]\r\nn=3\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"});

    WriteFile(profile::TemporaryName("VK37.INI"), "[S]\r\nn=2\r\n");
    EXPECT_TRUE(WritePrivateProfileStringW(L"S", L"n", L"3", L".\\vk37.ini"));
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"}) << "even when nothing changes";
}

// Each writer writes its own keys into one shared section and its own one.
bool WriteKeys(int writer, int keys) {
    bool ok = true;
    for (int k = 0; k < keys; ++k) {
        std::wstring key = L"w" + std::to_wstring(writer) + L"k" + std::to_wstring(k);
        std::wstring own = L"OWN" + std::to_wstring(writer);
        ok &= WritePrivateProfileStringW(L"SHARED", key.c_str(), L"1", L".\\vk37.ini") != 0;
        ok &= WritePrivateProfileStringW(own.c_str(), key.c_str(), L"2", L".\\VK37.INI") != 0;
    }
    return ok;
}

// The writers name the file in two spellings; there must be one file.
void ExpectEveryKey(int writers, int keys) {
    const std::vector<std::string> entries = CProfileDirTest::Entries();
    ASSERT_EQ(entries, std::vector<std::string>{"vk37.ini"});
    const std::string text = CProfileDirTest::ReadFile(entries[0]);
    for (int w = 0; w < writers; ++w) {
        for (int k = 0; k < keys; ++k) {
            std::string key = "w" + std::to_string(w) + "k" + std::to_string(k);
            EXPECT_NE(text.find("\r\n" + key + "=1\r\n"), std::string::npos) << key;
            EXPECT_NE(text.find("\r\n" + key + "=2\r\n"), std::string::npos) << key;
        }
    }
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1 + writers * (1 + 2 * keys));
}

TEST_F(ProfileRaces, ConcurrentProcessesLoseNoUpdate) {
    const int writers = 4;
    const int keys = 12;
    std::vector<pid_t> children;
    for (int w = 0; w < writers; ++w) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            _exit(WriteKeys(w, keys) ? 0 : 1);
        children.push_back(child);
    }
    for (pid_t child : children) {
        int status = WaitFor(child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ExpectEveryKey(writers, keys);
}

TEST_F(ProfileRaces, ConcurrentThreadsLoseNoUpdate) {
    const int writers = 4;
    const int keys = 12;
    std::vector<std::thread> threads;
    bool ok[writers] = {};
    for (int w = 0; w < writers; ++w)
        threads.emplace_back([w, &ok] { ok[w] = WriteKeys(w, keys); });
    for (auto& thread : threads)
        thread.join();
    for (bool threadOk : ok)
        EXPECT_TRUE(threadOk);
    ExpectEveryKey(writers, keys);
}

} // namespace
