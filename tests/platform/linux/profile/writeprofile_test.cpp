// The profile write and read through real files: creation, path rules,
// encodings, untouched files, permissions and links, and what the reader
// gives back.
#include "profiletestdir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace {

using ProfileWrite = CProfileDirTest;

std::string Utf16LE(const std::u16string& units) {
    std::string raw = "\xFF\xFE";
    for (char16_t u : units) {
        raw.push_back(static_cast<char>(u & 0xFF));
        raw.push_back(static_cast<char>(u >> 8));
    }
    return raw;
}

TEST_F(ProfileWrite, CreatesFileInCurrentDirectoryWithCrLfAndUmaskMode) {
    mode_t oldMask = umask(027);
    EXPECT_TRUE(Write(L"SYSTEM", L"PORT", L"0"));
    EXPECT_TRUE(Write(L"BRIGHTNESS", L"V_PMIN", L"-10"));
    EXPECT_TRUE(Write(L"BRIGHTNESS", L"V_PMAX", L""));
    umask(oldMask);
    EXPECT_EQ(ReadFile("VK37.INI"),
              "[SYSTEM]\r\nPORT=0\r\n[BRIGHTNESS]\r\nV_PMIN=-10\r\nV_PMAX=\r\n");
    struct stat st;
    ASSERT_EQ(stat("VK37.INI", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Entries(), std::vector<std::string>{"VK37.INI"}) << "no temporary or lock file";
}

TEST_F(ProfileWrite, BackslashesSeparateAndTheNameMatchesAnyCase) {
    ASSERT_EQ(mkdir("sub", 0777), 0);
    WriteFile("sub/VK37.ini", "[SYSTEM]\nPORT=3\n");
    EXPECT_TRUE(Write(L"system", L"port", L"4", L"sub\\VK37.INI"));
    EXPECT_EQ(ReadFile("sub/VK37.ini"), "[SYSTEM]\nPORT=4\n");
    EXPECT_EQ(Entries("sub"), std::vector<std::string>{"VK37.ini"});

    // Only the last component is matched loosely; the directory is as given.
    EXPECT_FALSE(Write(L"A", L"k", L"v", L"SUB\\VK37.INI"));
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(ProfileWrite, PrefersTheExactNameThenTheSmallestAmongCaseVariants) {
    WriteFile("vk37.ini", "");
    WriteFile("VK37.ini", "");
    EXPECT_TRUE(Write(L"A", L"k", L"1"));
    EXPECT_EQ(ReadFile("VK37.ini"), "[A]\r\nk=1\r\n");
    EXPECT_EQ(ReadFile("vk37.ini"), "");

    WriteFile("VK37.INI", "");
    EXPECT_TRUE(Write(L"A", L"k", L"2"));
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\nk=2\r\n");
    EXPECT_EQ(ReadFile("VK37.ini"), "[A]\r\nk=1\r\n");
}

TEST_F(ProfileWrite, WriteThatChangesNothingLeavesTheFileUntouched) {
    WriteFile("VK37.INI", "[A]\nk = 5\n");
    const struct timespec old[2] = {{1000000000, 0}, {1000000000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, "VK37.INI", old, 0), 0);
    struct stat before;
    ASSERT_EQ(stat("VK37.INI", &before), 0);

    EXPECT_TRUE(Write(L"a", L"K", L"5"));
    EXPECT_TRUE(Write(L"B", L"k", nullptr));
    EXPECT_TRUE(Write(L"B", nullptr, nullptr));

    struct stat after;
    ASSERT_EQ(stat("VK37.INI", &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mtim.tv_sec, 1000000000);
    EXPECT_EQ(after.st_ctim.tv_sec, before.st_ctim.tv_sec);
    EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);
}

TEST_F(ProfileWrite, NullKeyRemovesSectionAndNullValueRemovesKey) {
    WriteFile("VK37.INI", "[A]\r\nx=1\r\ny=2\r\n[B]\r\nz=3\r\n");
    EXPECT_TRUE(Write(L"A", L"x", nullptr));
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\ny=2\r\n[B]\r\nz=3\r\n");
    // Names with blanks around them name nothing to remove, as on Windows.
    EXPECT_TRUE(Write(L"A ", nullptr, nullptr));
    EXPECT_TRUE(Write(L"A", L"\ty", nullptr));
    EXPECT_TRUE(Write(L"\vb", L"z", nullptr));
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\ny=2\r\n[B]\r\nz=3\r\n");
    // Without a key the value is ignored, even one that could not be written.
    EXPECT_TRUE(Write(L"b", nullptr, L"ignored\r\n"));
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\ny=2\r\n");
    EXPECT_TRUE(Write(L"C", nullptr, nullptr, L"absent.ini"));
    EXPECT_EQ(access("absent.ini", F_OK), -1) << "removing from no file creates none";
}

TEST_F(ProfileWrite, RejectsMissingArgumentsAndLineBreakingText) {
    WriteFile("VK37.INI", "[A]\r\nk=1\r\n");
    SetLastError(0);
    EXPECT_FALSE(Write(nullptr, L"k", L"v"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileStringW(L"A", L"k", L"v", nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    const std::tuple<LPCWSTR, LPCWSTR, LPCWSTR> bad[] = {
        {L"A", L"k", L"2\r\n[B]"}, {L"A", L"k\n", L"2"}, {L"A]", L"k", L"2"},
        {L"A", L"k=j", L"2"},      {L"A", L" ;k", L"2"}, {L"A", L"k", L"\xD800"}};
    for (auto [section, key, value] : bad) {
        SetLastError(0);
        EXPECT_FALSE(Write(section, key, value));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\nk=1\r\n");
    // Only ';' starts a comment: '#' begins an ordinary key.
    EXPECT_TRUE(Write(L"A", L"#k", L"2"));
    EXPECT_EQ(ReadFile("VK37.INI"), "[A]\r\nk=1\r\n#k=2\r\n");
}

TEST_F(ProfileWrite, KeepsUtf8ByteOrderMarkAndConvertsNonAsciiText) {
    WriteFile("VK37.INI", "\xEF\xBB\xBF[A]\nk=1\n");
    EXPECT_TRUE(Write(L"A", L"k", L"\u00e9"));
    EXPECT_TRUE(Write(L"\u6444", L"k", L"\U0001F600"));
    EXPECT_EQ(ReadFile("VK37.INI"),
              "\xEF\xBB\xBF[A]\nk=\xC3\xA9\n[\xE6\x91\x84]\nk=\xF0\x9F\x98\x80\n");
}

TEST_F(ProfileWrite, ReadsAndWritesUtf16LittleEndianFiles) {
    // The unpaired surrogate is not ours to repair: it must come back as it was.
    WriteFile("VK37.INI", Utf16LE(u"[A]\r\nk=1\r\nodd=\xDC00\r\n"));
    EXPECT_TRUE(Write(L"a", L"K", L"2"));
    EXPECT_TRUE(Write(L"\u6444", L"v", L"\U0001F600"));
    EXPECT_EQ(ReadFile("VK37.INI"),
              Utf16LE(u"[A]\r\nk=2\r\nodd=\xDC00\r\n[\u6444]\r\nv=\U0001F600\r\n"));
}

TEST_F(ProfileWrite, KeepsPermissionsAndOwnerOfTheOldFile) {
    WriteFile("VK37.INI", "[A]\nk=1\n");
    ASSERT_EQ(chmod("VK37.INI", 0604), 0);
    if (geteuid() == 0) {
        ASSERT_EQ(chown("VK37.INI", 12345, 23456), 0);
    }
    EXPECT_TRUE(Write(L"A", L"k", L"2"));
    struct stat st;
    ASSERT_EQ(stat("VK37.INI", &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    if (geteuid() == 0) {
        EXPECT_EQ(st.st_uid, 12345u);
        EXPECT_EQ(st.st_gid, 23456u);
    }
}

TEST_F(ProfileWrite, WritesThroughSymbolicLinksToTheirTarget) {
    ASSERT_EQ(mkdir("real", 0777), 0);
    WriteFile("real/params.ini", "[A]\nk=1\n");
    ASSERT_EQ(symlink("hop", "VK37.INI"), 0);
    ASSERT_EQ(symlink("real/params.ini", "hop"), 0);
    EXPECT_TRUE(Write(L"A", L"k", L"2"));
    EXPECT_EQ(ReadFile("real/params.ini"), "[A]\nk=2\n");
    struct stat st;
    ASSERT_EQ(lstat("VK37.INI", &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(Entries("real"), std::vector<std::string>{"params.ini"});

    // A dangling link gets its target created.
    ASSERT_EQ(symlink("real/new.ini", "dangling.ini"), 0);
    EXPECT_TRUE(Write(L"A", L"k", L"3", L"DANGLING.INI"));
    EXPECT_EQ(ReadFile("real/new.ini"), "[A]\r\nk=3\r\n");

    ASSERT_EQ(symlink("loop.ini", "loop.ini"), 0);
    EXPECT_FALSE(Write(L"A", L"k", L"3", L"loop.ini"));
    EXPECT_EQ(GetLastError(), ERROR_CANT_RESOLVE_FILENAME);
}

TEST_F(ProfileWrite, ReadsBackAsWindowsReadersDo) {
    using namespace std::string_literals;
    const std::string text = "[ System ]\r\n PORT = 2 \r\nq=\"a b\"\r\nbare\r\n;c=1\r\n"
                             "[a]\r\nk=1\r\n[A]\r\nk=2\r\nj='\r\n[]\r\n";
    const std::string nul = "[\0A]\nj=1\n[A\0x]\nj=2\n"s;
    struct {
        std::string file; // written to vk37.ini; "-" for no file
        LPCWSTR section, key, def;
        DWORD size;
        std::wstring expected; // the buffer up to the count; a NUL follows
        DWORD error;
    } rows[] = {
        {text, L"SYSTEM", L"port", L"d", 64, L"2"s, ERROR_SUCCESS},
        {text, L" system\t", L" Port", L"d", 64, L"2"s, ERROR_SUCCESS},
        {text, L"SYSTEM", L"Q", nullptr, 64, L"a b"s, ERROR_SUCCESS},
        {text, L"SYSTEM", L"bare", L"d  ", 64, L"d"s, ERROR_SUCCESS},
        {text, L"SYSTEM", L";c", L"", 64, L"1"s, ERROR_SUCCESS},
        {text, L"\r\nSYSTEM\n", L"port\x1a\r", L"d", 64, L"2"s, ERROR_SUCCESS},
        {nul, L"a", L"J", nullptr, 64, L"2"s, ERROR_SUCCESS},
        {text, L"A", L"j", L"'d'", 64, L"d"s, ERROR_SUCCESS},
        {text, L"SYSTEM", L"q", nullptr, 3, L"a "s, ERROR_SUCCESS},
        {text, L"System", nullptr, nullptr, 64, L"PORT\0q\0"s, ERROR_SUCCESS},
        {text, nullptr, L"k", L"d", 64, L"System\0a\0A\0"s, ERROR_SUCCESS},
        {text, nullptr, nullptr, nullptr, 9, L"System\0"s, ERROR_SUCCESS},
        {"\xFF\xFE[\0S\0]\0\n\0K\0=\0\x44\x6D\n\0A"s, L"s", L"k", nullptr, 8, L"\u6D44"s,
         ERROR_SUCCESS},
        {"\xEF\xBB\xBF[S]\nK=\xC3\xA9\xFF\n"s, L"S", L"K", nullptr, 8, L"\u00e9\uFFFD"s,
         ERROR_SUCCESS},
        {"\xEF\xBB\xBF[S]\nK=\xF0\x9F\x98\x80\n"s, L"S", L"K", nullptr, 2, L"\U0001F600"s, 0},
        {"-", L"S", L"K", L"\"d\"", 64, L"d"s, ERROR_FILE_NOT_FOUND},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE("row " + std::to_string(&row - rows));
        if (row.file != "-")
            WriteFile("vk37.ini", row.file);
        std::wstring buffer(row.size + 1, L'#');
        SetLastError(1234);
        const DWORD n = GetPrivateProfileStringW(row.section, row.key, row.def, buffer.data(),
                                                 row.size, L".\\VK37.INI");
        EXPECT_EQ(GetLastError(), row.error);
        EXPECT_EQ(n, row.expected.size());
        EXPECT_EQ(buffer.substr(0, n + 1), row.expected + L'\0');
        unlink("vk37.ini");
    }
}

} // namespace
