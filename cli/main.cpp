// vk37save's start and end: COM around the command, and the command's text
// on the process's standard streams.
#include "cli/savecommand.h"
#include "platform/com.h"
#include "platform/console.h"

int ConsoleMain(const std::vector<std::wstring>& args) {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const CliTerminal terminal{
        [](const std::wstring& text) { return WriteConsoleText(ConsoleStream::Output, text); },
        [](const std::wstring& text) { return WriteConsoleText(ConsoleStream::Error, text); },
    };
    const int status = RunSaveCommand(args, terminal);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return status;
}
