// The text of a string token: the script's escapes resolved and its UTF-8
// bytes decoded to code points.
#pragma once

#include "tokens.h"

#include <string>

namespace rc {

constexpr int kUtf8CodePage = 65001;

bool DecodeString(const Token& token, std::u32string* text, Diagnostic* error);

} // namespace rc

namespace rc {

std::string ToUtf8(const std::u32string& text);

} // namespace rc
