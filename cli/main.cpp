// vk37save's entry point.
#include "cli/savecommand.h"
#include "platform/console.h"

int ConsoleMain(const std::vector<std::wstring>& args) {
    return RunOnConsole(args, RunSaveCommand);
}
