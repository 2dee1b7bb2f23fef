// Precedence-climbing evaluation of integer expressions.
#include "expr.h"

namespace rc {
namespace {

int Precedence(const Token& t) {
    if (t.kind != TokenKind::Punct)
        return 0;
    static const struct {
        const char* op;
        int precedence;
    } kOps[] = {{"||", 1}, {"&&", 2}, {"|", 3}, {"^", 4},  {"&", 5},  {"==", 6},
                {"!=", 6}, {"<", 7},  {">", 7}, {"<=", 7}, {">=", 7}, {"<<", 8},
                {">>", 8}, {"+", 9},  {"-", 9}, {"*", 10}, {"/", 10}, {"%", 10}};
    for (const auto& op : kOps) {
        if (t.text == op.op)
            return op.precedence;
    }
    return 0;
}

// Values wrap at 32 bits as the resource compiler's do; ids and styles are
// 32-bit quantities and -1 must equal 0xFFFFFFFF.
int64_t Wrap(int64_t v) {
    return static_cast<int32_t>(static_cast<uint32_t>(v));
}

bool Fail(Diagnostic* error, const Location& where, std::string message) {
    error->where = where;
    error->message = std::move(message);
    return false;
}

bool EvalUnary(TokenCursor& c, const SymbolLookup& lookup, int64_t* value, Diagnostic* error) {
    const Token& t = c.Next();
    switch (t.kind) {
    case TokenKind::Number:
        *value = Wrap(t.value);
        return true;
    case TokenKind::Identifier:
        if (!lookup(t.text, value))
            return Fail(error, t.where, "'" + t.text + "' is not defined");
        *value = Wrap(*value);
        return true;
    case TokenKind::Punct:
        if (t.text == "(") {
            if (!EvalExpression(c, lookup, value, error))
                return false;
            if (!c.Accept(")"))
                return Fail(error, c.Peek().where, "expected ')'");
            return true;
        }
        if (t.text == "-" || t.text == "+" || t.text == "~" || t.text == "!") {
            int64_t operand = 0;
            if (!EvalUnary(c, lookup, &operand, error))
                return false;
            *value = t.text == "-"   ? Wrap(-operand)
                     : t.text == "+" ? operand
                     : t.text == "~" ? Wrap(~operand)
                                     : (operand == 0);
            return true;
        }
        break;
    case TokenKind::String:
    case TokenKind::End:
        break;
    }
    return Fail(error, t.where,
                t.kind == TokenKind::End ? "expected a value"
                                         : "expected a value before '" + t.text + "'");
}

} // namespace

bool EvalExpression(TokenCursor& c, const SymbolLookup& lookup, int64_t* value, Diagnostic* error,
                    int minPrecedence) {
    if (!EvalUnary(c, lookup, value, error))
        return false;
    for (;;) {
        const Token& op = c.Peek();
        int precedence = Precedence(op);
        if (precedence == 0 || precedence < minPrecedence)
            return true;
        std::string name = op.text;
        Location where = op.where;
        c.Next();
        int64_t rhs = 0;
        if (!EvalExpression(c, lookup, &rhs, error, precedence + 1))
            return false;
        int64_t l = *value;
        uint32_t ul = static_cast<uint32_t>(l), ur = static_cast<uint32_t>(rhs);
        if ((name == "/" || name == "%") && rhs == 0)
            return Fail(error, where, "division by zero");
        int64_t r = name == "||"   ? (l != 0 || rhs != 0)
                    : name == "&&" ? (l != 0 && rhs != 0)
                    : name == "|"  ? (ul | ur)
                    : name == "^"  ? (ul ^ ur)
                    : name == "&"  ? (ul & ur)
                    : name == "==" ? (l == rhs)
                    : name == "!=" ? (l != rhs)
                    : name == "<"  ? (l < rhs)
                    : name == ">"  ? (l > rhs)
                    : name == "<=" ? (l <= rhs)
                    : name == ">=" ? (l >= rhs)
                    : name == "<<" ? static_cast<int64_t>(ul << (ur & 31))
                    : name == ">>" ? static_cast<int64_t>(ul >> (ur & 31))
                    : name == "+"  ? l + rhs
                    : name == "-"  ? l - rhs
                    : name == "*"  ? l * rhs
                    : name == "/"  ? l / rhs
                                   : l % rhs;
        *value = Wrap(r);
    }
}

} // namespace rc
