// Writes the parsed resources as a C++ source file holding the tables of
// platform/linux/resources.h (ScriptResources), in script order.
#pragma once

#include "model.h"

#include <string>

namespace rc {

// The file is pure ASCII: text beyond it is written as universal character
// names, so no compiler's idea of the source encoding matters.
std::string EmitCpp(const Script& script, const std::string& scriptName);

// A wide string literal for text, L"..." included.
std::string WideLiteral(const std::u32string& text);

} // namespace rc
