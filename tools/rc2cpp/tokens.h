// Tokens of a resource script after preprocessing, and a cursor over them
// with the look-ahead the parser and the expression evaluator need.
#pragma once

#include "model.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

enum class TokenKind { Identifier, Number, String, Punct, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;  // identifier, punctuator, or a string's raw bytes between the quotes
    int64_t value = 0; // numbers
    bool wide = false; // L"..."
    int codePage = 0;  // code page in force where a string was written
    Location where;
};

class TokenCursor {
public:
    TokenCursor(const std::vector<Token>& tokens, Location end);

    const Token& Peek(size_t ahead = 0) const;
    const Token& Next();
    bool AtEnd() const { return Peek().kind == TokenKind::End; }
    bool IsPunct(const char* p, size_t ahead = 0) const;
    // Keywords of the script language are case-insensitive.
    bool IsKeyword(const char* word, size_t ahead = 0) const;
    // Consumes the punctuator when it is next.
    bool Accept(const char* p);

private:
    const std::vector<Token>& m_tokens;
    size_t m_pos = 0;
    Token m_end;
};

bool EqualsIgnoreCase(const std::string& a, const char* b);

} // namespace rc
