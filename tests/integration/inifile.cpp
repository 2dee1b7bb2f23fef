// A plain reader for the parameter file: "[section]" and "key=value" lines,
// with either line ending.
#include "tests/integration/inifile.h"

#include <fstream>

bool ReadIniFile(const std::string& path, std::vector<IniSection>* sections) {
    std::ifstream in(path);
    if (!in)
        return false;
    sections->clear();
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            sections->push_back({line.substr(1, line.size() - 2), {}});
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == std::string::npos || sections->empty())
            continue;
        sections->back().keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
    }
    return true;
}
