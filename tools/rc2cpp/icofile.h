// A structural check of .ico files, so that a broken icon fails the build
// instead of the program's first paint.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

// True when bytes hold an icon directory whose entries all lie inside the
// file, each a bitmap or a PNG file of the size its entry gives; otherwise
// says what is wrong.
bool CheckIconFile(const std::vector<uint8_t>& bytes, std::string* problem);

} // namespace rc
