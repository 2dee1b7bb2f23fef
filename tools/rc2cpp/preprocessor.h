// The preprocessing a resource compiler does before it parses: #include of
// the project's own headers, object-like #define, conditional blocks and
// #pragma code_page. Headers of the Windows SDK are not read; the parser knows
// the few constants the script takes from them.
#pragma once

#include "tokens.h"

#include <functional>
#include <string>
#include <vector>

namespace rc {

// Reads a whole file into contents; false when it cannot.
using FileReader = std::function<bool(const std::string& path, std::string* contents)>;

bool ReadDiskFile(const std::string& path, std::string* contents);

struct Preprocessed {
    std::vector<Token> tokens; // macros expanded, inactive blocks and directives gone
    std::vector<std::string> files;
    Location end;
};

bool Preprocess(const std::string& path, const FileReader& read, Preprocessed* out,
                Diagnostic* error);

// The directory part of path, with its trailing slash; empty for a bare name.
std::string DirectoryOf(const std::string& path);

} // namespace rc
