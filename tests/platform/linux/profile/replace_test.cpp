// How a write replaces the file: what carries over to the new file, where
// the write goes into the old file instead, and the syncs a save costs.
#include "platform/linux/profile/profilesync.h"
#include "profiletestdir.h"
#include "syncspy.h"

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <functional>
#include <grp.h>
#include <map>
#include <sys/wait.h>
#include <sys/xattr.h>

namespace {

using ProfileReplace = CProfileDirTest;

constexpr uid_t kNobody = 65534;

// Runs write in a forked child, as an unprivileged user when the tests run
// as root (root ignores permissions). The child's exit status is the
// write's error code, 255 for a success, 254 when the ids could not change.
int WriteInChild(const std::function<BOOL()>& write) {
    pid_t pid = fork();
    if (pid == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
             setresuid(kNobody, kNobody, kNobody) != 0))
            _exit(254);
        _exit(write() ? 255 : static_cast<int>(GetLastError()));
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1000 + status;
}

// Every extended attribute of a file, by name.
std::map<std::string, std::string> Attributes(const std::string& path) {
    std::map<std::string, std::string> attributes;
    std::string names(4096, '\0');
    ssize_t size = listxattr(path.c_str(), names.data(), names.size());
    for (size_t at = 0; size > 0 && at < static_cast<size_t>(size); at += strlen(&names[at]) + 1) {
        std::string value(4096, '\0');
        ssize_t n = getxattr(path.c_str(), &names[at], value.data(), value.size());
        attributes[&names[at]] = value.substr(0, n > 0 ? static_cast<size_t>(n) : 0);
    }
    return attributes;
}

// A POSIX ACL in the kernel's xattr form: the owner rw, user 12345 r, the
// owning group r, mask rw, others nothing.
std::string Acl() {
    struct Entry {
        uint16_t tag, perm;
        uint32_t id;
    };
    const Entry entries[] = {
        {0x01, 6, ~0u}, {0x02, 4, 12345}, {0x04, 4, ~0u}, {0x10, 6, ~0u}, {0x20, 0, ~0u}};
    const uint32_t version = 2;
    std::string acl(reinterpret_cast<const char*>(&version), sizeof version);
    for (const Entry& entry : entries)
        acl.append(reinterpret_cast<const char*>(&entry), sizeof entry);
    return acl;
}

struct FileId {
    ino_t ino;
    uid_t uid;
    gid_t gid;
    mode_t mode;
    bool operator==(const FileId& o) const {
        return ino == o.ino && uid == o.uid && gid == o.gid && mode == o.mode;
    }
};

FileId IdOf(const std::string& path) {
    struct stat st = {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return {st.st_ino, st.st_uid, st.st_gid, st.st_mode & 07777};
}

TEST_F(ProfileReplace, WritesIntoTheOldFileWhereAReplaceWouldChangeIt) {
    const struct {
        const char* name;
        bool needsRoot;  // a file of another owner can only be set up by root
        void (*setUp)(); // in the case's directory, which starts at 0777
    } cases[] = {
        {"a second hard link", false, [] { ASSERT_EQ(link("VK37.INI", "other.ini"), 0); }},
        {"another user's world-writable file", true,
         [] { ASSERT_EQ(chown("VK37.INI", 12345, 23456), 0); }},
        {"a directory the writer may not write", false, [] { ASSERT_EQ(chmod(".", 0555), 0); }},
    };
    // The child, unprivileged, must reach the cases' directories.
    ASSERT_EQ(chmod(m_dir.c_str(), 0755), 0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsRoot && geteuid() != 0)
            continue; // a normal user cannot give a file away
        const std::string dir = m_dir + "/" + std::to_string(&c - cases);
        ASSERT_EQ(mkdir(dir.c_str(), 0777), 0);
        ASSERT_EQ(chmod(dir.c_str(), 0777), 0);
        ASSERT_EQ(chdir(dir.c_str()), 0);
        WriteFile("VK37.INI", "[A]\r\nk=1\r\n[B]\r\nk=a value longer than the new one\r\n");
        ASSERT_EQ(chmod("VK37.INI", 0666), 0);
        // The writer's own file, so that only the case's reason is left.
        if (geteuid() == 0) {
            ASSERT_EQ(chown("VK37.INI", kNobody, kNobody), 0);
        }
        c.setUp();
        const FileId before = IdOf("VK37.INI");
        const std::vector<std::string> entries = Entries();
        ASSERT_EQ(chdir(m_dir.c_str()), 0);

        const std::wstring path = std::to_wstring(&c - cases) + L"\\VK37.INI";
        EXPECT_EQ(WriteInChild(
                      [&] { return WritePrivateProfileStringW(L"B", L"k", L"2", path.c_str()); }),
                  255);
        EXPECT_EQ(ReadFile(dir + "/VK37.INI"), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
        EXPECT_TRUE(IdOf(dir + "/VK37.INI") == before) << "the same file, owner and mode";
        EXPECT_EQ(Entries(dir), entries);
        chmod(dir.c_str(), 0777);
    }
    EXPECT_EQ(ReadFile("0/other.ini"), "[A]\r\nk=1\r\n[B]\r\nk=2\r\n")
        << "the other link sees the change";
}

TEST_F(ProfileReplace, CarriesExtendedAttributesAndAclsOverAndTakesNoneOfItsOwn) {
    const struct {
        const char* name;
        const char* attribute;
        bool onDirectory; // a default ACL the new file would inherit
    } cases[] = {
        {"user attribute", "user.origin", false},
        {"access ACL", "system.posix_acl_access", false},
        {"directory's default ACL", "system.posix_acl_default", true},
    };
    int ran = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string dir = std::to_string(&c - cases);
        ASSERT_EQ(mkdir(dir.c_str(), 0755), 0);
        const std::string file = dir + "/VK37.INI";
        WriteFile(file, "[A]\r\nk=1\r\n");
        const std::string value = c.attribute[0] == 'u' ? "camera bench 3" : Acl();
        if (setxattr((c.onDirectory ? dir : file).c_str(), c.attribute, value.data(), value.size(),
                     0) != 0) {
            ASSERT_EQ(errno, ENOTSUP) << strerror(errno);
            continue; // not on this file system
        }
        ++ran;
        const FileId before = IdOf(file);
        const auto attributes = Attributes(file);
        EXPECT_EQ(attributes.count(c.attribute), c.onDirectory ? 0u : 1u);

        const std::wstring path = std::to_wstring(&c - cases) + L"\\VK37.INI";
        EXPECT_TRUE(Write(L"A", L"k", L"2", path.c_str()));
        EXPECT_EQ(ReadFile(file), "[A]\r\nk=2\r\n");
        const FileId after = IdOf(file);
        EXPECT_NE(after.ino, before.ino) << "still replaced, not written in place";
        EXPECT_EQ(after.mode, before.mode);
        EXPECT_EQ(Attributes(file), attributes);
    }
    if (ran == 0)
        GTEST_SKIP() << "no extended attributes on this file system";
}

TEST_F(ProfileReplace, NamesUpToNameMaxBytes) {
    for (size_t length : {250, 251, 255}) {
        const std::string name = std::string(length - 4, 'a') + ".ini";
        const std::wstring path = L".\\" + std::wstring(name.begin(), name.end());
        EXPECT_TRUE(Write(L"A", L"k", L"1", path.c_str())) << length;
        EXPECT_TRUE(Write(L"A", L"k", L"2", path.c_str())) << length;
        EXPECT_EQ(ReadFile(name), "[A]\r\nk=2\r\n") << length;
        EXPECT_EQ(Entries(), std::vector<std::string>{name});
        unlink(name.c_str());
    }
}

// What a writer meets without /proc and without CAP_DAC_READ_SEARCH.
int g_links = 0;
int RefuseLink(int, const char*, int, const char*, int) {
    ++g_links;
    errno = ENOENT;
    return -1;
}

TEST_F(ProfileReplace, NamedTemporaryWhenTheUnnamedOneCannotBeLinked) {
    profile::CStoreHooks& hooks = profile::StoreHooks();
    const profile::CStoreHooks saved = hooks;
    hooks.link = RefuseLink;
    g_links = 0;
    const BOOL created = Write(L"A", L"k", L"1");
    const BOOL changed = Write(L"A", L"k", L"2");
    hooks = saved;
    EXPECT_TRUE(created);
    EXPECT_TRUE(changed);
    EXPECT_GT(g_links, 0) << "the unnamed temporary was tried first";
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\nk=2\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"});
}

// The 49 writes of one save, each changing the file.
void Save(int round) {
    const wchar_t* const sections[] = {L"BRIGHTNESS",   L"CONTRAST",  L"HUE",
                                       L"SATURATION",   L"SHARPNESS", L"COLORENABLE",
                                       L"WHITEBALANCE", L"EXPOSURE"};
    const wchar_t* const keys[] = {L"V_PMIN",     L"V_PMAX",       L"V_PSTEPPINGDELTA",
                                   L"V_PDEFAULT", L"V_PCAPSFLAGS", L"V_LVALUE"};
    const std::wstring value = std::to_wstring(round);
    EXPECT_TRUE(CProfileDirTest::Write(L"SYSTEM", L"PORT", value.c_str()));
    for (const wchar_t* section : sections) {
        for (const wchar_t* key : keys)
            EXPECT_TRUE(CProfileDirTest::Write(section, key, value.c_str()));
    }
}

TEST_F(ProfileReplace, ASaveSyncsEachNewFileAndItsDirectoryOnceAtTheFlush) {
    profile::CStoreHooks& hooks = profile::StoreHooks();
    const profile::CStoreHooks saved = hooks;
    ASSERT_EQ(profile::FlushPendingDirectories(), ERROR_SUCCESS); // earlier tests' renames
    hooks.sync = CSyncSpy::Sync;
    const struct {
        const char* name;
        int directoryError;
        DWORD flushError;
    } cases[] = {{"a working disk", 0, ERROR_SUCCESS}, {"a failing disk", EIO, ERROR_IO_DEVICE}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CSyncSpy::Reset(c.directoryError);
        Save(static_cast<int>(&c - cases));
        EXPECT_EQ(CSyncSpy::fileSyncs, 49);
        EXPECT_EQ(CSyncSpy::directorySyncs, 0) << "no directory sync before the flush";

        SetLastError(ERROR_INVALID_DATA);
        EXPECT_FALSE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, L".\\VK37.INI"))
            << "FALSE even on success, as on Windows";
        EXPECT_EQ(GetLastError(), c.flushError);
        EXPECT_EQ(CSyncSpy::directorySyncs, 1);

        SetLastError(ERROR_INVALID_DATA);
        EXPECT_FALSE(WritePrivateProfileStringW(nullptr, nullptr, nullptr, nullptr));
        EXPECT_EQ(GetLastError(), ERROR_SUCCESS) << "nothing left to sync";
        EXPECT_EQ(CSyncSpy::fileSyncs + CSyncSpy::directorySyncs, 50);
    }
    hooks = saved;
    CSyncSpy::Reset(0);
}

int g_syncReport = -1;
int ReportDirectorySync(int fd) {
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISDIR(st.st_mode))
        (void)!write(g_syncReport, "d", 1);
    return fsync(fd);
}

TEST_F(ProfileReplace, PendingRenamesAreSyncedWhenTheProcessExits) {
    ASSERT_EQ(profile::FlushPendingDirectories(), ERROR_SUCCESS); // none for the child to inherit
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    pid_t pid = fork();
    if (pid == 0) {
        close(report[0]);
        g_syncReport = report[1];
        profile::StoreHooks().sync = ReportDirectorySync;
        const bool written = WritePrivateProfileStringW(L"A", L"k", L"1", L".\\VK37.INI");
        if (write(report[1], written ? "w" : "f", 1) != 1)
            _exit(2);
        std::exit(0); // not _exit: the exit handlers must run
    }
    close(report[1]);
    std::string seen;
    char c;
    while (read(report[0], &c, 1) == 1)
        seen += c;
    close(report[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(seen, "wd") << "written, then the directory synced once, at exit";
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\nk=1\r\n");
}

} // namespace
