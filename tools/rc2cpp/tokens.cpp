// The token cursor.
#include "tokens.h"

#include <cctype>
#include <cstring>

namespace rc {

bool EqualsIgnoreCase(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b))
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

std::string Diagnostic::Format() const {
    return where.file + ":" + std::to_string(where.line) + ": error: " + message;
}

TokenCursor::TokenCursor(const std::vector<Token>& tokens, Location end) : m_tokens(tokens) {
    m_end.where = std::move(end);
}

const Token& TokenCursor::Peek(size_t ahead) const {
    return m_pos + ahead < m_tokens.size() ? m_tokens[m_pos + ahead] : m_end;
}

const Token& TokenCursor::Next() {
    const Token& t = Peek();
    if (m_pos < m_tokens.size())
        ++m_pos;
    return t;
}

bool TokenCursor::IsPunct(const char* p, size_t ahead) const {
    const Token& t = Peek(ahead);
    return t.kind == TokenKind::Punct && t.text == p;
}

bool TokenCursor::IsKeyword(const char* word, size_t ahead) const {
    const Token& t = Peek(ahead);
    return t.kind == TokenKind::Identifier && EqualsIgnoreCase(t.text, word);
}

bool TokenCursor::Accept(const char* p) {
    if (!IsPunct(p))
        return false;
    Next();
    return true;
}

} // namespace rc
