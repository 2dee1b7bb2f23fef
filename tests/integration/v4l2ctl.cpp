// Runs v4l2-ctl and reads its text output.
#include "tests/integration/v4l2ctl.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

int RunCommand(const std::string& command, std::string* output) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return -1;
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        text.append(buffer, n);
    const int status = pclose(pipe);
    if (output != nullptr)
        *output = text;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

CommandRun RunProgram(const std::string& commandLine) {
    CommandRun run = {-1, "", "cannot make a file for standard error", 0};
    char errFile[] = "/tmp/vk37-stderr-XXXXXX";
    const int fd = mkstemp(errFile);
    if (fd < 0)
        return run;
    close(fd);
    const auto start = std::chrono::steady_clock::now();
    run.status = RunCommand(commandLine + " 2>" + errFile, &run.out);
    run.ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    run.err = FileBytes(errFile);
    unlink(errFile);
    return run;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::vector<std::string> ListVideoNodes() {
    std::vector<int> numbers;
    if (DIR* dir = opendir("/dev")) {
        while (dirent* entry = readdir(dir)) {
            int number = 0;
            char rest = 0;
            if (std::sscanf(entry->d_name, "video%d%c", &number, &rest) == 1)
                numbers.push_back(number);
        }
        closedir(dir);
    }
    std::sort(numbers.begin(), numbers.end());
    std::vector<std::string> nodes;
    for (int number : numbers)
        nodes.push_back("/dev/video" + std::to_string(number));
    return nodes;
}

namespace {

std::string Trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return "";
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

bool QueryNode(const std::string& node, V4l2CtlNode* info) {
    std::string text;
    if (RunCommand("v4l2-ctl -d " + node + " --info 2>/dev/null", &text) != 0)
        return false;
    // "\tCapabilities     : 0x...", then one capability per "\t\t" line.
    std::vector<std::string>* list = nullptr;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("\t\t", 0) == 0) {
            if (list != nullptr)
                list->push_back(Trim(line));
            continue;
        }
        list = nullptr;
        const size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = Trim(line.substr(0, colon));
        // The media controller's section repeats the driver name; the first is the node's.
        if (key == "Driver name" && info->driver.empty())
            info->driver = Trim(line.substr(colon + 1));
        else if (key == "Card type")
            info->card = Trim(line.substr(colon + 1));
        else if (key == "Capabilities")
            list = &info->capabilities;
        else if (key == "Device Caps")
            list = &info->deviceCaps;
    }
    return !info->deviceCaps.empty();
}

bool IsCaptureNode(const V4l2CtlNode& info) {
    for (const std::string& cap : info.deviceCaps)
        if (cap == "Video Capture" || cap == "Video Capture Multiplanar")
            return true;
    return false;
}

std::vector<std::string> CaptureNodes() {
    std::vector<std::string> nodes;
    for (const std::string& node : ListVideoNodes()) {
        V4l2CtlNode info;
        if (QueryNode(node, &info) && IsCaptureNode(info))
            nodes.push_back(node);
    }
    return nodes;
}

std::map<std::string, V4l2CtlControl> ListControls(const std::string& node) {
    // "   brightness 0x00980900 (int)    : min=0 max=255 step=1 default=128 value=128 flags=slider"
    std::map<std::string, V4l2CtlControl> controls;
    std::string text;
    if (RunCommand("v4l2-ctl -d " + node + " --list-ctrls 2>/dev/null", &text) != 0)
        return controls;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string name, id, type;
        if (!(words >> name >> id >> type) || id.rfind("0x", 0) != 0)
            continue;
        V4l2CtlControl control;
        control.type = type.substr(1, type.find(')') - 1);
        std::string word;
        while (words >> word) {
            const size_t eq = word.find('=');
            if (eq == std::string::npos)
                continue;
            const std::string key = word.substr(0, eq);
            const long value = std::strtol(word.c_str() + eq + 1, nullptr, 0);
            if (key == "min")
                control.min = value;
            else if (key == "max")
                control.max = value;
            else if (key == "step")
                control.step = value;
            else if (key == "default")
                control.def = value;
            else if (key == "value")
                control.value = value;
        }
        controls[name] = control;
    }
    return controls;
}

bool SetControl(const std::string& node, const std::string& name, long value) {
    return RunCommand("v4l2-ctl -d " + node + " -c " + name + "=" + std::to_string(value) +
                          " >/dev/null 2>&1",
                      nullptr) == 0;
}
