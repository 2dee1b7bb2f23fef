// Reads back the parameter file a save wrote, keeping the order of sections
// and keys, so tests can check layout as well as values.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct IniSection {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
};

// False when the file cannot be opened.
bool ReadIniFile(const std::string& path, std::vector<IniSection>* sections);
