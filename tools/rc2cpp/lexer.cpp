// The script's lexical rules: C-style comments, identifiers, decimal and hex
// numbers with an optional L or U suffix, "..." and L"..." strings in which
// "" stands for one quote, and C punctuators.
#include "lexer.h"

#include <cctype>
#include <cstring>

namespace rc {
namespace {

bool IsIdentStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

bool IsIdentChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Finds the closing quote of the string opening at line[open]; npos if none.
size_t StringEnd(const std::string& line, size_t open) {
    for (size_t i = open + 1; i < line.size(); ++i) {
        if (line[i] == '\\') {
            ++i;
        } else if (line[i] == '"') {
            if (i + 1 < line.size() && line[i + 1] == '"')
                ++i;
            else
                return i;
        }
    }
    return std::string::npos;
}

bool Fail(Diagnostic* error, const Location& where, std::string message) {
    error->where = where;
    error->message = std::move(message);
    return false;
}

} // namespace

std::string BlankComments(const std::string& text) {
    std::string out = text;
    enum { Code, String, Line, Block } state = Code;
    for (size_t i = 0; i < out.size(); ++i) {
        char c = out[i];
        char next = i + 1 < out.size() ? out[i + 1] : '\0';
        switch (state) {
        case Code:
            if (c == '"') {
                state = String;
            } else if (c == '/' && next == '/') {
                state = Line;
                out[i] = ' ';
            } else if (c == '/' && next == '*') {
                state = Block;
                out[i] = out[i + 1] = ' ';
                ++i;
            }
            break;
        case String:
            if (c == '\\' && next != '\n' && next != '\0')
                ++i;
            else if (c == '"' || c == '\n')
                state = Code;
            break;
        case Line:
            if (c == '\n')
                state = Code;
            else
                out[i] = ' ';
            break;
        case Block:
            if (c == '*' && next == '/') {
                out[i] = out[i + 1] = ' ';
                ++i;
                state = Code;
            } else if (c != '\n') {
                out[i] = ' ';
            }
            break;
        }
    }
    return out;
}

bool LexLine(const std::string& line, const Location& where, int codePage, std::vector<Token>* out,
             Diagnostic* error) {
    static const char* const kTwoChar[] = {"&&", "||", "==", "!=", "<=", ">=", "<<", ">>"};
    size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        }
        Token t;
        t.where = where;
        bool wide = (c == 'L' || c == 'l') && i + 1 < line.size() && line[i + 1] == '"';
        if (c == '"' || wide) {
            size_t open = wide ? i + 1 : i;
            size_t close = StringEnd(line, open);
            if (close == std::string::npos)
                return Fail(error, where, "string not closed on its line");
            t.kind = TokenKind::String;
            t.text = line.substr(open + 1, close - open - 1);
            t.wide = wide;
            t.codePage = codePage;
            i = close + 1;
        } else if (IsIdentStart(c)) {
            size_t start = i;
            while (i < line.size() && IsIdentChar(line[i]))
                ++i;
            t.kind = TokenKind::Identifier;
            t.text = line.substr(start, i - start);
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t start = i;
            while (i < line.size() && IsIdentChar(line[i]))
                ++i;
            std::string digits = line.substr(start, i - start);
            while (!digits.empty() && std::strchr("LlUu", digits.back()))
                digits.pop_back();
            bool hex =
                digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
            size_t first = hex ? 2 : 0;
            if (digits.size() == first)
                return Fail(error, where, "bad number '" + line.substr(start, i - start) + "'");
            uint64_t value = 0;
            for (size_t k = first; k < digits.size(); ++k) {
                char d = digits[k];
                int digit = std::isdigit(static_cast<unsigned char>(d))
                                ? d - '0'
                                : (hex && std::isxdigit(static_cast<unsigned char>(d))
                                       ? std::tolower(static_cast<unsigned char>(d)) - 'a' + 10
                                       : -1);
                if (digit < 0)
                    return Fail(error, where, "bad number '" + line.substr(start, i - start) + "'");
                value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
                if (value > 0xFFFFFFFFu)
                    return Fail(error, where,
                                "number too large '" + line.substr(start, i - start) + "'");
            }
            t.kind = TokenKind::Number;
            t.text = line.substr(start, i - start);
            t.value = static_cast<int64_t>(value);
        } else {
            t.kind = TokenKind::Punct;
            for (const char* two : kTwoChar) {
                if (line.compare(i, 2, two) == 0)
                    t.text = two;
            }
            if (t.text.empty()) {
                if (!std::strchr(",|&^()+-~!*/%<>{}=", c))
                    return Fail(error, where, std::string("unexpected character '") + c + "'");
                t.text = std::string(1, c);
            }
            i += t.text.size();
        }
        out->push_back(std::move(t));
    }
    return true;
}

} // namespace rc
