// One run of the program as a user starts it: in a scratch working directory
// of its own, seen from outside through its windows.
#pragma once

#include <windows.h>

#include "tests/windows/e2e/probe.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Waits are polled, so a slow Wine start-up costs time, never a result.
inline constexpr DWORD kTimeoutMs = 20000;

std::string Utf8(const std::wstring& text);
// By WM_GETTEXT: GetWindowText reads only captions across processes.
std::wstring WindowText(HWND hwnd);
// The names in a directory, sorted, in UTF-8.
std::vector<std::string> ListDirectory(const std::wstring& directory);
bool ReadFileBytes(const std::wstring& path, std::string& bytes);
// Under Wine, CTest's Unix paths name files by the DOS name of whichever
// drive maps them.
std::wstring DosPath(const char* path);

// Polls until the predicate holds; false when the timeout passes first.
template <class Predicate> bool WaitUntil(Predicate ready, DWORD timeoutMs = kTimeoutMs) {
    for (const ULONGLONG end = GetTickCount64() + timeoutMs; !ready(); Sleep(20))
        if (GetTickCount64() >= end)
            return false;
    return true;
}

class CProgramRun {
public:
    static void SetProgram(const char* path);

    CProgramRun();
    ~CProgramRun();
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;

    // Starts the program in a fresh directory and waits until its dialog,
    // captioned title, takes input.
    testing::AssertionResult Start(const wchar_t* title = L"摄像头参数保存");
    HWND Dialog() const { return m_hDialog; }
    HWND Item(int id) const { return GetDlgItem(m_hDialog, id); }
    const std::wstring& Directory() const { return m_directory; }
    std::wstring PathOf(const wchar_t* name) const { return m_directory + L"\\" + name; }

    // A visible top-level window of the program, other than its dialog.
    HWND WaitForOther(const wchar_t* className = L"#32770", DWORD timeoutMs = kTimeoutMs) const;
    testing::AssertionResult WaitForExit(DWORD expectedStatus);
    // Asks the probe, run on the dialog's thread, about a window of the
    // program; iconId names the program's icon resource.
    testing::AssertionResult Probe(HWND target, UINT iconId, ProbeReport& report);

private:
    std::vector<HWND> Windows(const wchar_t* className) const;

    static std::wstring s_program;
    std::wstring m_directory;
    PROCESS_INFORMATION m_process = {};
    HWND m_hDialog = nullptr;
    HHOOK m_hook = nullptr;
};
