// The preprocessor: reads files line by line, obeys directives and expands
// object-like macros in the lines it keeps.
#include "preprocessor.h"

#include "expr.h"
#include "lexer.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace rc {
namespace {

// Headers that come with the Windows SDK or the class library. The script
// includes them for the Windows build; here they are skipped unread.
const char* const kSdkHeaders[] = {
    "winres.h",  "afxres.h",   "windows.h", "winver.h", "winuser.h", "winnt.h",    "commctrl.h",
    "verrsrc.h", "winresrc.h", "dlgs.h",    "ntverp.h", "afxres.rc", "winuser.rh", "commctrl.rh"};
constexpr int kMaxIncludeDepth = 16;
constexpr int kMaxExpansionDepth = 64;

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

struct Conditional {
    bool parentActive;
    bool active;
    bool taken; // some branch of this block has been active
    bool seenElse;
    Location where;
};

class Preprocessor {
public:
    Preprocessor(const FileReader& read, Preprocessed* out, Diagnostic* error)
        : m_read(read), m_out(out), m_error(error) {}

    bool File(const std::string& path, const Location& includedFrom, int depth);

private:
    bool Active() const { return m_conditionals.empty() || m_conditionals.back().active; }
    bool Fail(const Location& where, std::string message) {
        m_error->where = where;
        m_error->message = std::move(message);
        return false;
    }
    bool Directive(const std::string& text, const Location& where, const std::string& path,
                   int depth);
    bool Include(const std::string& arg, const Location& where, const std::string& path, int depth);
    bool Define(const std::string& arg, const Location& where);
    bool Pragma(const std::string& arg, const Location& where);
    bool Condition(const std::string& arg, const Location& where, bool* result);
    bool Expand(const Token& t, std::vector<Token>* out, std::vector<std::string>* active);

    const FileReader& m_read;
    Preprocessed* m_out;
    Diagnostic* m_error;
    std::map<std::string, std::vector<Token>> m_macros;
    std::vector<Conditional> m_conditionals;
    int m_codePage = 0;
};

bool Preprocessor::File(const std::string& path, const Location& includedFrom, int depth) {
    std::string contents;
    if (!m_read(path, &contents))
        return Fail(includedFrom, "cannot read '" + path + "'");
    m_out->files.push_back(path);
    if (contents.compare(0, 3, "\xEF\xBB\xBF") == 0)
        contents.erase(0, 3);
    std::istringstream lines(BlankComments(contents));
    size_t conditionalsAtStart = m_conditionals.size();
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        Location where{path, ++number};
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        // A backslash at the end of a line joins the next one to it.
        std::string more;
        while (!line.empty() && line.back() == '\\' && std::getline(lines, more)) {
            line.pop_back();
            if (!more.empty() && more.back() == '\r')
                more.pop_back();
            line += more;
            ++number;
        }
        std::string text = Trim(line);
        if (!text.empty() && text[0] == '#') {
            if (!Directive(text.substr(1), where, path, depth))
                return false;
            continue;
        }
        if (!Active())
            continue;
        std::vector<Token> raw;
        if (!LexLine(line, where, m_codePage, &raw, m_error))
            return false;
        for (const Token& t : raw) {
            std::vector<std::string> expanding;
            if (!Expand(t, &m_out->tokens, &expanding))
                return false;
        }
    }
    if (m_conditionals.size() > conditionalsAtStart)
        return Fail(m_conditionals.back().where, "#if without #endif");
    m_out->end = Location{path, number};
    return true;
}

bool Preprocessor::Expand(const Token& t, std::vector<Token>* out,
                          std::vector<std::string>* active) {
    auto macro = t.kind == TokenKind::Identifier ? m_macros.find(t.text) : m_macros.end();
    if (macro == m_macros.end() ||
        std::find(active->begin(), active->end(), t.text) != active->end()) {
        out->push_back(t);
        return true;
    }
    if (active->size() >= kMaxExpansionDepth)
        return Fail(t.where, "macro '" + t.text + "' nests too deeply");
    active->push_back(t.text);
    for (Token body : macro->second) {
        body.where = t.where;
        if (!Expand(body, out, active))
            return false;
    }
    active->pop_back();
    return true;
}

bool Preprocessor::Directive(const std::string& text, const Location& where,
                             const std::string& path, int depth) {
    size_t nameStart = text.find_first_not_of(" \t");
    if (nameStart == std::string::npos)
        return true; // a lone '#' is a null directive
    size_t nameEnd = nameStart;
    while (nameEnd < text.size() && std::isalpha(static_cast<unsigned char>(text[nameEnd])))
        ++nameEnd;
    std::string name = text.substr(nameStart, nameEnd - nameStart);
    std::string arg = text.substr(nameEnd);

    if (name == "if" || name == "ifdef" || name == "ifndef") {
        bool result = false;
        if (Active()) {
            if (name == "if") {
                if (!Condition(arg, where, &result))
                    return false;
            } else {
                std::string symbol = Trim(arg);
                if (symbol.empty())
                    return Fail(where, "#" + name + " needs a name");
                result = (m_macros.count(symbol) != 0) == (name == "ifdef");
            }
        }
        m_conditionals.push_back({Active(), Active() && result, Active() && result, false, where});
        return true;
    }
    if (name == "elif" || name == "else" || name == "endif") {
        if (m_conditionals.empty())
            return Fail(where, "#" + name + " without #if");
        Conditional& c = m_conditionals.back();
        if (name == "endif") {
            m_conditionals.pop_back();
            return true;
        }
        if (c.seenElse)
            return Fail(where, "#" + name + " after #else");
        bool result = !c.taken;
        if (name == "elif" && c.parentActive && !c.taken && !Condition(arg, where, &result))
            return false;
        c.seenElse = name == "else";
        c.active = c.parentActive && !c.taken && result;
        c.taken = c.taken || c.active;
        return true;
    }
    if (!Active())
        return true;
    if (name == "include")
        return Include(Trim(arg), where, path, depth);
    if (name == "define")
        return Define(arg, where);
    if (name == "undef") {
        m_macros.erase(Trim(arg));
        return true;
    }
    if (name == "pragma")
        return Pragma(Trim(arg), where);
    if (name == "error")
        return Fail(where, "#error" + arg);
    return Fail(where, "unknown directive #" + name);
}

bool Preprocessor::Include(const std::string& arg, const Location& where, const std::string& path,
                           int depth) {
    if (arg.size() < 2 ||
        !((arg.front() == '"' && arg.back() == '"') || (arg.front() == '<' && arg.back() == '>')))
        return Fail(where, "#include needs \"file\" or <file>");
    std::string name = arg.substr(1, arg.size() - 2);
    std::replace(name.begin(), name.end(), '\\', '/');
    std::string base = name.substr(name.find_last_of('/') + 1);
    for (const char* sdk : kSdkHeaders) {
        if (EqualsIgnoreCase(base, sdk))
            return true;
    }
    if (depth >= kMaxIncludeDepth)
        return Fail(where, "#include nests too deeply");
    std::string full = name.front() == '/' ? name : DirectoryOf(path) + name;
    std::string probe;
    if (!m_read(full, &probe))
        return Fail(where, "cannot open include file '" + name + "'");
    return File(full, where, depth + 1);
}

bool Preprocessor::Define(const std::string& arg, const Location& where) {
    size_t start = arg.find_first_not_of(" \t");
    size_t end = start;
    while (end < arg.size() &&
           (std::isalnum(static_cast<unsigned char>(arg[end])) || arg[end] == '_'))
        ++end;
    if (start == std::string::npos || end == start ||
        std::isdigit(static_cast<unsigned char>(arg[start])))
        return Fail(where, "#define needs a name");
    std::string name = arg.substr(start, end - start);
    if (end < arg.size() && arg[end] == '(')
        return Fail(where, "function-like macro '" + name + "' is not supported");
    std::vector<Token> body;
    if (!LexLine(arg.substr(end), where, m_codePage, &body, m_error))
        return false;
    m_macros[name] = std::move(body);
    return true;
}

bool Preprocessor::Pragma(const std::string& arg, const Location& where) {
    const std::string prefix = "code_page";
    if (arg.compare(0, prefix.size(), prefix) != 0)
        return true; // other pragmas (once, ...) mean nothing to resources
    std::string inner = Trim(arg.substr(prefix.size()));
    if (inner.size() < 2 || inner.front() != '(' || inner.back() != ')')
        return Fail(where, "#pragma code_page needs (number)");
    inner = Trim(inner.substr(1, inner.size() - 2));
    if (EqualsIgnoreCase(inner, "DEFAULT")) {
        m_codePage = 0;
        return true;
    }
    if (inner.empty() || !std::all_of(inner.begin(), inner.end(), [](char c) {
            return std::isdigit(static_cast<unsigned char>(c));
        }))
        return Fail(where, "#pragma code_page needs (number)");
    m_codePage = std::stoi(inner);
    return true;
}

bool Preprocessor::Condition(const std::string& arg, const Location& where, bool* result) {
    std::vector<Token> raw;
    if (!LexLine(arg, where, m_codePage, &raw, m_error))
        return false;
    // "defined X" and "defined(X)" are answered before macros are expanded.
    std::vector<Token> replaced;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i].kind != TokenKind::Identifier || raw[i].text != "defined") {
            replaced.push_back(raw[i]);
            continue;
        }
        bool paren =
            i + 1 < raw.size() && raw[i + 1].kind == TokenKind::Punct && raw[i + 1].text == "(";
        size_t nameAt = i + (paren ? 2 : 1);
        if (nameAt >= raw.size() || raw[nameAt].kind != TokenKind::Identifier ||
            (paren && (nameAt + 1 >= raw.size() || raw[nameAt + 1].text != ")")))
            return Fail(where, "'defined' needs a name");
        Token value = raw[i];
        value.kind = TokenKind::Number;
        value.value = m_macros.count(raw[nameAt].text) ? 1 : 0;
        replaced.push_back(value);
        i = nameAt + (paren ? 1 : 0);
    }
    std::vector<Token> expanded;
    for (const Token& t : replaced) {
        std::vector<std::string> expanding;
        if (!Expand(t, &expanded, &expanding))
            return false;
    }
    TokenCursor cursor(expanded, where);
    int64_t value = 0;
    // As in C, a name left after expansion counts as 0.
    SymbolLookup zero = [](const std::string&, int64_t* v) {
        *v = 0;
        return true;
    };
    if (!EvalExpression(cursor, zero, &value, m_error))
        return false;
    if (!cursor.AtEnd())
        return Fail(where, "unexpected '" + cursor.Peek().text + "' in #if");
    *result = value != 0;
    return true;
}

} // namespace

bool ReadDiskFile(const std::string& path, std::string* contents) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    contents->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

std::string DirectoryOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool Preprocess(const std::string& path, const FileReader& read, Preprocessed* out,
                Diagnostic* error) {
    Preprocessor pp(read, out, error);
    return pp.File(path, Location{path, 0}, 0);
}

} // namespace rc
