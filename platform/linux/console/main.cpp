// The command-line program's entry point on Linux. Arguments arrive as bytes;
// they are read as UTF-8, the encoding of the camera names they are compared
// with. An argument that is not UTF-8 cannot name anything the program knows,
// so it stops there with a usage error; the program's own path may be
// anything.
#include "platform/console.h"
#include "platform/linux/v4l2/utf8.h"

#include <cstdio>
#include <sysexits.h>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::wstring> args;
    for (int i = 0; i < argc; ++i) {
        std::wstring arg;
        if (!DecodeUtf8(argv[i], &arg) && i > 0) {
            std::fprintf(stderr, "%s: argument %d is not valid UTF-8\n", argv[0], i);
            return EX_USAGE;
        }
        args.push_back(arg);
    }
    return ConsoleMain(args);
}
