// The command-line program's entry point on Windows: the wide-character
// main of a console program, which gets its arguments as the system holds them.
#include "platform/console.h"

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    std::vector<std::wstring> args(argv, argv + argc);
    return ConsoleMain(args);
}
