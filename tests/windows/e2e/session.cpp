// Starting the program in a scratch directory, finding its windows by
// process, and cleaning up whatever a failed check leaves behind.
#include "tests/windows/e2e/session.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace fs = std::filesystem;

std::wstring CProgramRun::s_program;

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                   out.data(), static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

std::wstring WindowText(HWND hwnd) {
    wchar_t buffer[512] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                             kTimeoutMs, &length))
        return L"<no answer>";
    return std::wstring(buffer, length);
}

std::vector<std::string> ListDirectory(const std::wstring& directory) {
    std::vector<std::string> names;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(directory, error))
        names.push_back(Utf8(entry.path().filename().wstring()));
    std::sort(names.begin(), names.end());
    return names;
}

bool ReadFileBytes(const std::wstring& path, std::string& bytes) {
    std::ifstream in(fs::path(path), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.is_open() && !in.bad();
}

std::wstring DosPath(const char* path) {
    using ToDos = LPWSTR(CDECL*)(LPCSTR);
    auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    LPWSTR dos = path[0] == '/' && toDos != nullptr ? toDos(path) : nullptr;
    std::wstring result = dos != nullptr ? dos : fs::path(path).wstring();
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

void CProgramRun::SetProgram(const char* path) {
    s_program = DosPath(path);
}

CProgramRun::CProgramRun() {
    static int s_count = 0;
    const std::string name =
        "vk37e2e-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_count);
    m_directory = (fs::temp_directory_path() / name).wstring();
}

CProgramRun::~CProgramRun() {
    if (m_hook != nullptr)
        UnhookWindowsHookEx(m_hook);
    if (m_process.hProcess != nullptr) {
        // A failed check may leave the program waiting in a dialog.
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.hProcess, 99);
            WaitForSingleObject(m_process.hProcess, kTimeoutMs);
        }
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    std::error_code ignored;
    fs::remove_all(m_directory, ignored);
}

testing::AssertionResult CProgramRun::Start(const wchar_t* title) {
    std::error_code error;
    fs::remove_all(m_directory, error);
    if (!fs::create_directories(m_directory, error))
        return testing::AssertionFailure() << "cannot create " << Utf8(m_directory);
    std::wstring commandLine = L"\"" + s_program + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(s_program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        m_directory.c_str(), &startup, &m_process))
        return testing::AssertionFailure()
               << "cannot start " << Utf8(s_program) << ": error " << GetLastError();
    WaitUntil([this, title] {
        for (HWND hwnd : Windows(L"#32770"))
            if (WindowText(hwnd) == title)
                m_hDialog = hwnd;
        return m_hDialog != nullptr || WaitForSingleObject(m_process.hProcess, 0) == 0;
    });
    DWORD status = 0;
    if (m_hDialog == nullptr && GetExitCodeProcess(m_process.hProcess, &status))
        return testing::AssertionFailure()
               << "no dialog \"" << Utf8(title) << "\" appeared (process status " << status << ")";
    // The modal loop shows its dialog again (SW_SHOWNORMAL) when its queue
    // first runs empty, which would undo a minimise posted before then.
    if (WaitForInputIdle(m_process.hProcess, kTimeoutMs) != 0)
        return testing::AssertionFailure() << "the dialog never waited for input";
    return testing::AssertionSuccess();
}

std::vector<HWND> CProgramRun::Windows(const wchar_t* className) const {
    struct Search {
        const CProgramRun* run;
        const wchar_t* className;
        std::vector<HWND> found;
    } search = {this, className, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM data) CALLBACK -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            DWORD pid = 0;
            wchar_t name[64] = {};
            GetWindowThreadProcessId(hwnd, &pid);
            GetClassNameW(hwnd, name, 64);
            if (pid == s->run->m_process.dwProcessId && hwnd != s->run->m_hDialog &&
                IsWindowVisible(hwnd) && wcscmp(name, s->className) == 0)
                s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND CProgramRun::WaitForOther(const wchar_t* className, DWORD timeoutMs) const {
    std::vector<HWND> found;
    WaitUntil([&] { return !(found = Windows(className)).empty(); }, timeoutMs);
    return found.empty() ? nullptr : found.front();
}

testing::AssertionResult CProgramRun::WaitForExit(DWORD expectedStatus) {
    if (WaitForSingleObject(m_process.hProcess, kTimeoutMs) != 0)
        return testing::AssertionFailure() << "the program did not end";
    DWORD status = 0;
    GetExitCodeProcess(m_process.hProcess, &status);
    if (status != expectedStatus)
        return testing::AssertionFailure() << "the program ended with status " << status;
    return testing::AssertionSuccess();
}

testing::AssertionResult CProgramRun::Probe(HWND target, UINT iconId, ProbeReport& report) {
    if (m_hook == nullptr) {
        // Beside the driver; the system loads it into the program to run the hook.
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const fs::path dll = fs::path(self).parent_path() / L"e2eprobe.dll";
        HMODULE module = LoadLibraryW(dll.c_str());
        auto hook = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(
            module != nullptr ? GetProcAddress(module, "ProbeGetMessage") : nullptr));
        if (hook != nullptr)
            m_hook = SetWindowsHookExW(WH_GETMESSAGE, hook, module,
                                       GetWindowThreadProcessId(m_hDialog, nullptr));
        if (m_hook == nullptr)
            return testing::AssertionFailure() << "cannot hook the program with " << dll.string();
    }
    const std::wstring name = kProbeMappingPrefix + std::to_wstring(m_process.dwProcessId);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(ProbeReport), name.c_str());
    auto* shared = static_cast<ProbeReport*>(
        MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(ProbeReport)));
    bool answered = false;
    if (shared != nullptr) {
        ZeroMemory(shared, sizeof(ProbeReport));
        PostMessageW(m_hDialog, RegisterWindowMessageW(kProbeMessage), iconId,
                     reinterpret_cast<LPARAM>(target));
        answered = WaitUntil([shared] { return shared->done != 0; });
        report = *shared;
        UnmapViewOfFile(shared);
    }
    CloseHandle(mapping);
    if (!answered)
        return testing::AssertionFailure() << "the probe in the program did not answer";
    return testing::AssertionSuccess();
}
