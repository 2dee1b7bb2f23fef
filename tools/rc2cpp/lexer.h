// Splits the text of a resource script into tokens, one line at a time, after
// comments have been blanked out.
#pragma once

#include "tokens.h"

#include <string>
#include <vector>

namespace rc {

// Replaces every comment by spaces, keeping line breaks so line numbers stay
// right. Quotes open a string only until the end of their line.
std::string BlankComments(const std::string& text);

// Appends the tokens of one line (no line break in it) to out.
bool LexLine(const std::string& line, const Location& where, int codePage, std::vector<Token>* out,
             Diagnostic* error);

} // namespace rc
