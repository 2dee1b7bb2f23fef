// rc2cpp: converts the resource script to C++ tables for the Linux build.
// Usage: rc2cpp script.rc -o out.cpp [-d out.d]
// The optional make-style dependency file lists every file the script
// pulled in, so the build reruns the converter when any of them changes.
#include "emit.h"
#include "parser.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

namespace {

bool WriteFile(const std::string& path, const std::string& contents) {
    // Written beside the target and renamed over it, so an interrupted run
    // never leaves a half-written file that looks up to date.
    std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << contents;
        if (!out.flush())
            return false;
    }
    return std::rename(temp.c_str(), path.c_str()) == 0;
}

std::string EscapeDepPath(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#')
            out += '\\';
        if (c == '$')
            out += '$';
        out += c;
    }
    return out;
}

int Usage() {
    std::cerr << "usage: rc2cpp script.rc -o out.cpp [-d out.d]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string script, output, depfile;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "-o" || arg == "-d") && i + 1 < argc)
            (arg == "-o" ? output : depfile) = argv[++i];
        else if (script.empty() && !arg.empty() && arg[0] != '-')
            script = arg;
        else
            return Usage();
    }
    if (script.empty() || output.empty())
        return Usage();

    rc::Script parsed;
    rc::Diagnostic error;
    if (!rc::ParseScript(script, rc::ReadDiskFile, &parsed, &error)) {
        std::cerr << error.Format() << "\n";
        std::remove(output.c_str());
        return 1;
    }
    std::string name = script.substr(script.find_last_of('/') + 1);
    if (!WriteFile(output, rc::EmitCpp(parsed, name))) {
        std::cerr << "rc2cpp: cannot write " << output << "\n";
        return 1;
    }
    if (!depfile.empty()) {
        std::string deps = EscapeDepPath(output) + ":";
        for (const std::string& input : parsed.inputs)
            deps += " \\\n  " + EscapeDepPath(input);
        if (!WriteFile(depfile, deps + "\n")) {
            std::cerr << "rc2cpp: cannot write " << depfile << "\n";
            return 1;
        }
    }
    return 0;
}
