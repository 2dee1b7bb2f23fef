// vk37load's entry point.
#include "cli/loadcommand.h"
#include "platform/console.h"

int ConsoleMain(const std::vector<std::wstring>& args) {
    return RunOnConsole(args, RunLoadCommand);
}
