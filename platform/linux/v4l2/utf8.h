// Strict UTF-8 decoding for the names drivers and sysfs report.
#pragma once

#include <string>

// Decodes bytes into wide characters (UTF-32 on Linux). Overlong forms,
// surrogates, values past U+10FFFF and cut-off sequences are rejected: the
// result is then false and *text is left empty.
bool DecodeUtf8(const std::string& bytes, std::wstring* text);
