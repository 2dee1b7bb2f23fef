// Integer expressions as the script and its preprocessor write them: C
// operators on 32-bit values, with names looked up by the caller.
#pragma once

#include "tokens.h"

#include <cstdint>
#include <functional>
#include <string>

namespace rc {

// Gives the value of a name, or false when it has none.
using SymbolLookup = std::function<bool(const std::string& name, int64_t* value)>;

// Precedence of the binary operator '|'; a style list evaluates its terms
// one level above it so that it can take NOT between them.
constexpr int kBitOrPrecedence = 3;

// Reads one expression whose binary operators bind at least as tightly as
// minPrecedence, leaving the cursor on the first token after it.
bool EvalExpression(TokenCursor& cursor, const SymbolLookup& lookup, int64_t* value,
                    Diagnostic* error, int minPrecedence = 1);

} // namespace rc
