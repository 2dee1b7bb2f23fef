// The common ground of the VM tests: a COM apartment and a capture device
// holder per test, message boxes recorded instead of shown, and a scratch
// working directory for the parameter file.
#pragma once

#include "capture/capturedevice.h"
#include "platform/msgbox_hook.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// Makes a fresh directory the current one and restores the old one after.
class CScratchDirectory {
public:
    CScratchDirectory();
    ~CScratchDirectory();
    CScratchDirectory(const CScratchDirectory&) = delete;
    CScratchDirectory& operator=(const CScratchDirectory&) = delete;

    const std::string& Path() const { return m_path; }
    // Where a save with ".\VK37.INI" puts the file.
    std::string ParameterFile() const { return m_path + "/VK37.INI"; }

private:
    std::string m_path;
    std::string m_previous;
};

class CVividTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh enumeration, as a save makes one.
    void Enumerate();
    // Binds the device at position and fetches its amplifier interface into
    // the holder, the first steps of a save.
    HRESULT BindProcAmp(int position);
    // One property through the holder; the HRESULT of the read.
    HRESULT ReadProcAmp(LONG property, PropertyReading* reading);

    std::unique_ptr<CCaptureDevice> m_device;
    std::vector<std::wstring> m_messages;

private:
    MessageBoxHandler m_previousHandler;
};

std::wstring Widen(const std::string& text);

// Unbinding vivid's platform driver removes every vivid node at once, as an
// unplugged camera's nodes go; the device's name comes back in unbound, for
// binding it again.
bool UnbindVivid(std::string* unbound = nullptr);
bool BindVivid(const std::string& device);
