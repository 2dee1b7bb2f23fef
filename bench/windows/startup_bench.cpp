// Start-up benchmark driver, run under Wine: launches a dialog program and a
// baseline in turn and times each from CreateProcess to its dialog being
// visible, then closes it. Prints medians, minima and the ratio of medians.
// Usage: startup_bench [--runs N] PROGRAM BASELINE
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

constexpr DWORD kShowTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;

struct Launch {
    double ms = -1;     // negative: the dialog never showed
    LRESULT items = -1; // entries in the device list when the dialog showed
};

struct WindowSearch {
    DWORD pid;
    HWND found;
};

// Both programs show the same caption, so the dialog is told apart by its process.
BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[16] = {};
    if (pid == search->pid && IsWindowVisible(hwnd) && GetClassNameW(hwnd, cls, 16) > 0 &&
        wcscmp(cls, L"#32770") == 0) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindVisibleDialog(DWORD pid) {
    WindowSearch search{pid, nullptr};
    EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

double Elapsed(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER freq;
    QueryPerformanceFrequency(&freq);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(freq.QuadPart);
}

Launch LaunchOnce(const std::wstring& program) {
    Launch result;
    std::wstring cmdline = L"\"" + program + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), cmdline.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", program.c_str(), GetLastError());
        return result;
    }
    // Idle can come before the dialog (a program may pump messages while it
    // loads), so the window is polled for as well.
    WaitForInputIdle(pi.hProcess, kShowTimeoutMs);
    HWND dialog = nullptr;
    const ULONGLONG deadline = GetTickCount64() + kShowTimeoutMs;
    while ((dialog = FindVisibleDialog(pi.dwProcessId)) == nullptr &&
           WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT && GetTickCount64() < deadline)
        Sleep(1);
    QueryPerformanceCounter(&shown);

    if (dialog != nullptr) {
        result.ms = Elapsed(start, shown);
        result.items = SendMessageW(GetDlgItem(dialog, IDC_DEVICE_COMBO), CB_GETCOUNT, 0, 0);
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else {
        std::fwprintf(stderr, L"%ls showed no dialog\n", program.c_str());
    }
    if (WaitForSingleObject(pi.hProcess, kExitTimeoutMs) != WAIT_OBJECT_0) {
        std::fwprintf(stderr, L"%ls did not exit; ending it\n", program.c_str());
        TerminateProcess(pi.hProcess, 1);
        WaitForSingleObject(pi.hProcess, kExitTimeoutMs);
        result.ms = -1;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    // Lets the last program's teardown in Wine and the X server finish
    // outside the next measurement.
    Sleep(100);
    return result;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

const wchar_t* BaseName(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return path.c_str() + (slash == std::wstring::npos ? 0 : slash + 1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int runs = 15;
    int arg = 1;
    if (argc > 2 && wcscmp(argv[1], L"--runs") == 0) {
        runs = _wtoi(argv[2]);
        arg = 3;
    }
    if (argc - arg != 2 || runs < 1) {
        std::fwprintf(stderr, L"usage: startup_bench [--runs N] PROGRAM BASELINE\n");
        return 2;
    }
    const std::wstring programs[2] = {argv[arg], argv[arg + 1]};
    std::vector<double> times[2];
    LRESULT items[2] = {-1, -1};

    // The warm-up launches fill Wine's and the system's caches for both.
    for (const auto& program : programs) {
        if (LaunchOnce(program).ms < 0)
            return 1;
    }
    for (int round = 0; round < runs; ++round) {
        // Alternating which goes first cancels any carry-over from the one before.
        for (int k = 0; k < 2; ++k) {
            const int which = (round + k) % 2;
            const Launch launch = LaunchOnce(programs[which]);
            if (launch.ms < 0)
                return 1;
            times[which].push_back(launch.ms);
            items[which] = launch.items;
        }
    }

    std::wprintf(L"process start to dialog visible, %d launches each after one warm-up:\n", runs);
    for (int which = 0; which < 2; ++which) {
        std::wprintf(L"  %-20ls median %7.1f ms  min %7.1f ms  device list entries %d\n",
                     BaseName(programs[which]), Median(times[which]),
                     *std::min_element(times[which].begin(), times[which].end()),
                     static_cast<int>(items[which]));
    }
    std::wprintf(L"  ratio of medians     %.2f\n", Median(times[0]) / Median(times[1]));
    return 0;
}
