// COM, holder and scratch directory set-up shared by the VM tests.
#include "tests/integration/vividfixture.h"

#include "platform/framework.h"
#include "platform/com.h"

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <unistd.h>

CScratchDirectory::CScratchDirectory() {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd) != nullptr)
        m_previous = cwd;
    char pattern[] = "/tmp/vk37-vm-XXXXXX";
    if (mkdtemp(pattern) != nullptr && chdir(pattern) == 0)
        m_path = pattern;
    else
        ADD_FAILURE() << "cannot make a scratch directory";
}

CScratchDirectory::~CScratchDirectory() {
    if (!m_previous.empty() && chdir(m_previous.c_str()) != 0)
        ADD_FAILURE() << "cannot return to " << m_previous;
    if (m_path.empty())
        return;
    if (DIR* dir = opendir(m_path.c_str())) {
        while (dirent* entry = readdir(dir))
            if (entry->d_name[0] != '.')
                unlink((m_path + "/" + entry->d_name).c_str());
        closedir(dir);
    }
    rmdir(m_path.c_str());
}

void CVividTest::SetUp() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    m_device = std::make_unique<CCaptureDevice>();
    m_previousHandler = SetMessageBoxHandler([this](LPCWSTR text, UINT, UINT) {
        m_messages.emplace_back(text != nullptr ? text : L"");
        return IDOK;
    });
}

void CVividTest::TearDown() {
    // The holder's references must go while COM is still up.
    m_device.reset();
    SetMessageBoxHandler(m_previousHandler);
    CoUninitialize();
}

void CVividTest::Enumerate() {
    m_device->ClearDevices();
    ASSERT_EQ(S_OK, m_device->EnumerateDevices());
}

HRESULT CVividTest::BindProcAmp(int position) {
    ComPtr<IBaseFilter>& filter = m_device->FilterSlot();
    const HRESULT hr = m_device->BindDevice(position, filter.ReleaseAndGetAddressOf());
    if (hr != S_OK)
        return hr;
    if (!filter)
        return E_POINTER;
    return filter->QueryInterface(IID_IAMVideoProcAmp,
                                  m_device->ProcAmpSlot().ReleaseAndGetAddressOfVoid());
}

HRESULT CVividTest::ReadProcAmp(LONG property, PropertyReading* reading) {
    *reading = {};
    return m_device->ReadProcAmpProperty(property, reading);
}

std::wstring Widen(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

namespace {
const std::string kVividDriver = "/sys/bus/platform/drivers/vivid/";
}

bool UnbindVivid(std::string* unbound) {
    std::string device;
    if (DIR* dir = opendir(kVividDriver.c_str())) {
        while (dirent* entry = readdir(dir))
            if (std::string(entry->d_name).rfind("vivid.", 0) == 0)
                device = entry->d_name;
        closedir(dir);
    }
    if (device.empty())
        return false;
    if (unbound != nullptr)
        *unbound = device;
    return static_cast<bool>(std::ofstream(kVividDriver + "unbind") << device << std::flush);
}

bool BindVivid(const std::string& device) {
    return static_cast<bool>(std::ofstream(kVividDriver + "bind") << device << std::flush);
}
