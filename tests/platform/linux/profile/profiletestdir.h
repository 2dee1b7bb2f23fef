// A fresh temporary directory as the current directory of each test, and
// small file helpers for the profile writer's tests.
#pragma once

#include "platform/profilefile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

class CProfileDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        m_oldCwd = cwd;
        std::string pattern = (std::filesystem::temp_directory_path() / "profile-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
        ASSERT_EQ(chdir(m_dir.c_str()), 0);
    }
    void TearDown() override {
        EXPECT_EQ(chdir(m_oldCwd.c_str()), 0);
        std::error_code ignored;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_dir, ignored);
    }

public:
    static std::string ReadFile(const std::string& name) {
        std::ifstream in(name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static void WriteFile(const std::string& name, const std::string& content) {
        std::ofstream out(name, std::ios::binary | std::ios::trunc);
        out << content;
    }
    static std::vector<std::string> Entries(const std::string& dir = ".") {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static BOOL Write(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path = L".\\VK37.INI") {
        return WritePrivateProfileStringW(section, key, value, path);
    }

protected:
    std::string m_oldCwd;
    std::string m_dir;
};
