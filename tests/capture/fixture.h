// A test fixture with COM initialised, the fake device enumerator registered
// for CLSID_SystemDeviceEnum, a fresh current directory and a recorder in
// place of the message box.
#pragma once

#include "fakes.h"
#include "platform/msgbox_hook.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct ShownMessage {
    std::wstring text;
    UINT type;
    UINT helpId;
};

class CaptureTest : public ::testing::Test {
protected:
    fakes::CFakeDevEnum m_devEnum;
    fakes::CFakeDevEnumFactory m_factory;
    std::vector<ShownMessage> m_messages;

    void SetUp() override {
        m_devEnum.SetLabel("device enumerator");
        m_factory.SetLabel("class factory");
        m_factory.devEnum = &m_devEnum;
        StartCom();
        m_previousHandler = SetMessageBoxHandler([this](LPCWSTR text, UINT type, UINT help) {
            m_messages.push_back({text, type, help});
            return 1;
        });
        m_oldCwd = std::filesystem::current_path();
        m_dir =
            std::filesystem::temp_directory_path() /
            ("vk37-capture-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(m_dir);
        std::filesystem::current_path(m_dir);
    }

    void TearDown() override {
        std::filesystem::current_path(m_oldCwd);
        std::error_code ec;
        std::filesystem::permissions(m_dir, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(m_dir, ec);
        SetMessageBoxHandler(m_previousHandler);
        StopCom();
    }

    // COM on this thread with the fake enumerator registered, and its end:
    // uninitialising COM also drops the registrations made in the apartment.
    void StartCom() {
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
        ASSERT_EQ(CoRegisterClassObject(CLSID_SystemDeviceEnum, &m_factory, CLSCTX_INPROC_SERVER,
                                        REGCLS_MULTIPLEUSE, &m_cookie),
                  S_OK);
    }
    void StopCom() {
        EXPECT_EQ(CoRevokeClassObject(m_cookie), S_OK);
        CoUninitialize();
    }

    std::filesystem::path IniPath() const { return m_dir / "VK37.INI"; }
    bool IniExists() const { return std::filesystem::exists(IniPath()); }

    // The parameter file's bytes, as they are on disk.
    std::string IniBytes() const { return FileBytes(IniPath()); }

    // A file's bytes; the file is closed again on return, as Windows needs
    // before it can be removed.
    static std::string FileBytes(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    // The parameter file as lines, line endings removed.
    std::vector<std::string> IniLines() const {
        std::ifstream in(IniPath(), std::ios::binary);
        std::vector<std::string> lines;
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            lines.push_back(line);
        }
        return lines;
    }

    // The lines that are not blank, which is what the file's meaning rests on.
    std::vector<std::string> IniContent() const {
        std::vector<std::string> lines;
        for (const std::string& line : IniLines())
            if (!line.empty())
                lines.push_back(line);
        return lines;
    }

    std::filesystem::path m_dir;

private:
    DWORD m_cookie = 0;
    MessageBoxHandler m_previousHandler;
    std::filesystem::path m_oldCwd;
};
