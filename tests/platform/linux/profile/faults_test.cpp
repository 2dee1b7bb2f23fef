// Bad files and failing file systems: each write fails cleanly and the old
// file keeps every byte.
#include "platform/linux/profile/writeprofile.h"
#include "profiletestdir.h"

#include <csignal>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>

namespace {

using ProfileFaults = CProfileDirTest;

// Runs fn in a forked child and returns what it exited with.
template <class F> int InChild(F fn) {
    pid_t pid = fork();
    if (pid == 0)
        _exit(fn());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + status;
}

// The child's exit status: the write's error code, or 255 for a success.
int WriteInChild() {
    const std::wstring value(2000, L'x');
    if (WritePrivateProfileStringW(L"A", L"k", value.c_str(), L".\\VK37.INI"))
        return 255;
    return static_cast<int>(GetLastError());
}

TEST_F(ProfileFaults, SeveralMegabytesWithNulsLongLinesAndBadUtf8StillWork) {
    std::string big = "[A]\r\nk=1\r\n";
    for (int i = 0; i < 4; ++i)
        big += std::string(1 << 20, char('a' + i)) + std::string("\0\xFF\xC3=\r\n", 6);
    WriteFile("VK37.INI", big);
    EXPECT_TRUE(Write(L"A", L"k", L"2"));
    big.replace(7, 1, "2");
    EXPECT_TRUE(ReadFile("VK37.INI") == big);
}

TEST_F(ProfileFaults, RefusesFilesOverTheSizeLimit) {
    WriteFile("VK37.INI", "[A]\r\nk=1\r\n" + std::string(100, ';'));
    EXPECT_EQ(profile::WriteProfileString(L"A", L"k", L"2", L".\\VK37.INI", 100),
              ERROR_FILE_TOO_LARGE);
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\nk=1\r\n" + std::string(100, ';'));
}

// As on Windows, the odd last byte reads as a unit of its own and does not
// stop the write; it stays a single byte while it stays last.
TEST_F(ProfileFaults, WritesUtf16OfOddLength) {
    WriteFile("VK37.INI", std::string("\xFF\xFE[\0A\0]\0\n\0;\0!", 13));
    EXPECT_TRUE(Write(L"A", L"k", L"1"));
    EXPECT_EQ(ReadFile("VK37.INI"), std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0"
                                                "1\0\n\0;\0!",
                                                21));
    EXPECT_TRUE(Write(L"B", L"k", L"2"));
    EXPECT_EQ(ReadFile("VK37.INI"), std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0"
                                                "1\0\n\0;\0!\0\n\0[\0B\0]\0\n\0k\0=\0"
                                                "2\0\n\0",
                                                40));
}

// A file without a byte order mark whose edit would start with one: read
// again, the whole file would decode as UTF-16 or lose its first character,
// so the edit is refused and the file kept.
TEST_F(ProfileFaults, RefusesAnEditThatWouldStartAFileWithAByteOrderMark) {
    const struct {
        const char* name;
        std::string file;
        const wchar_t* section;
        const wchar_t* key;
        const wchar_t* value;
    } cases[] = {
        {"UTF-16LE after a removed line", std::string("=3\n\xFF\xFEx=x\n"), L"", L"", nullptr},
        {"UTF-16BE after a removed line", std::string("k=1\n\xFE\xFFx=x\n"), L"", L"k", nullptr},
        {"a key written above the first section", std::string("[A]\r\n"), L"", L"\uFEFFk", L"1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile("VK37.INI", c.file);
        EXPECT_FALSE(Write(c.section, c.key, c.value));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_DATA);
        EXPECT_EQ(ReadFile("VK37.INI"), c.file);
    }
}

TEST_F(ProfileFaults, DirectoryOrFifoInThePlaceOfTheFile) {
    ASSERT_EQ(mkdir("VK37.INI", 0777), 0);
    EXPECT_FALSE(Write(L"A", L"k", L"1"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"});

    ASSERT_EQ(mkfifo("fifo.ini", 0666), 0);
    EXPECT_FALSE(Write(L"A", L"k", L"1", L"fifo.ini"));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

    EXPECT_FALSE(Write(L"A", L"k", L"1", L"missing\\VK37.INI"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(Write(L"A", L"k", L"1", L"fifo.ini\\x.ini"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

// Root ignores permissions, so the child gives root up first.
int WriteInChildWithoutRoot() {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
        return 254;
    return WriteInChild();
}

TEST_F(ProfileFaults, ReadOnlyDirectoryOrFile) {
    const std::string old = "[A]\r\nk=1\r\n";
    WriteFile("VK37.INI", old);
    // Read-only for everyone: a writable file would be written in place.
    ASSERT_EQ(chmod("VK37.INI", 0444), 0);
    ASSERT_EQ(chmod(".", 0555), 0);
    EXPECT_EQ(InChild(WriteInChildWithoutRoot), static_cast<int>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFile("VK37.INI"), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"});

    // The directory would allow the rename; the file's own mode forbids it.
    ASSERT_EQ(chmod(".", 0777), 0);
    ASSERT_EQ(chmod("VK37.INI", 0444), 0);
    EXPECT_EQ(InChild(WriteInChildWithoutRoot), static_cast<int>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(ReadFile("VK37.INI"), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"});
}

TEST_F(ProfileFaults, FileSizeLimitOfTheProcess) {
    const std::string old = "[A]\r\nk=1\r\n" + std::string(3000, ';') + "\r\n";
    WriteFile("VK37.INI", old);
    int result = InChild([] {
        signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {4096, 4096};
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 254;
        return WriteInChild();
    });
    EXPECT_EQ(result, static_cast<int>(ERROR_DISK_FULL));
    EXPECT_EQ(ReadFile("VK37.INI"), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"});
}

TEST_F(ProfileFaults, FullDisk) {
    ASSERT_EQ(mkdir("small", 0777), 0);
    if (mount("tmpfs", "small", "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small tmpfs here (needs root): " << strerror(errno);
    struct CUnmount {
        ~CUnmount() { umount2("small", MNT_DETACH); }
    } unmount;
    const std::string old = "[A]\r\nk=1\r\n";
    WriteFile("small/VK37.INI", old);
    {
        std::ofstream filler("small/filler", std::ios::binary);
        std::string block(4096, 'f');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    EXPECT_FALSE(Write(L"A", L"k", std::wstring(8192, L'x').c_str(), L"small\\VK37.INI"));
    EXPECT_EQ(GetLastError(), ERROR_DISK_FULL);
    EXPECT_EQ(ReadFile("small/VK37.INI"), old);
    EXPECT_EQ(Entries("small"), (std::vector<std::string>{"VK37.INI", "filler"}));
}

} // namespace
