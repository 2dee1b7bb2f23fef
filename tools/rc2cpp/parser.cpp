// The statement parser. Style defaults follow the resource compiler's
// documented rules: a dialog without STYLE is WS_POPUP | WS_BORDER |
// WS_SYSMENU, FONT implies DS_SETFONT, every control is WS_CHILD | WS_VISIBLE,
// and each short form adds the class style it stands for.
#include "parser.h"

#include "constants.h"
#include "expr.h"
#include "icofile.h"
#include "text.h"

#include <algorithm>

namespace rc {
namespace {

constexpr uint32_t kWsPopup = 0x80000000, kWsChild = 0x40000000, kWsVisible = 0x10000000;
constexpr uint32_t kWsCaption = 0x00C00000, kWsBorder = 0x00800000, kWsSysMenu = 0x00080000;
constexpr uint32_t kWsGroup = 0x00020000, kWsTabStop = 0x00010000, kDsSetFont = 0x40;

struct ShortForm {
    const char* keyword;
    const char* className;
    uint32_t defaults;
    bool hasText;
    bool defaultsOnlyWithoutStyle; // a given style replaces the class style
};

const ShortForm kShortForms[] = {
    {"PUSHBUTTON", "BUTTON", 0x0 | kWsTabStop, true, false},
    {"DEFPUSHBUTTON", "BUTTON", 0x1 | kWsTabStop, true, false},
    {"GROUPBOX", "BUTTON", 0x7, true, false},
    {"AUTOCHECKBOX", "BUTTON", 0x3 | kWsTabStop, true, false},
    {"LTEXT", "STATIC", 0x0 | kWsGroup, true, false},
    {"CTEXT", "STATIC", 0x1 | kWsGroup, true, false},
    {"RTEXT", "STATIC", 0x2 | kWsGroup, true, false},
    {"ICON", "STATIC", 0x3, true, false},
    {"EDITTEXT", "EDIT", 0x0 | kWsBorder | kWsTabStop, false, false},
    {"COMBOBOX", "COMBOBOX", 0x1 | kWsTabStop, false, true},
};

// Window classes the Linux dialogs can build: the standard controls, and
// the trackbar and tab control of the property pages and their frame.
const char* const kClasses[] = {"BUTTON", "COMBOBOX",          "STATIC",
                                "EDIT",   "msctls_trackbar32", "SysTabControl32"};

const char* const kMemoryFlags[] = {"PRELOAD", "LOADONCALL", "FIXED",  "MOVEABLE", "DISCARDABLE",
                                    "PURE",    "IMPURE",     "SHARED", "NONSHARED"};

// Resource types that only matter to Windows or to the resource editor.
const char* const kSkippedTypes[] = {"MENU",
                                     "MENUEX",
                                     "ACCELERATORS",
                                     "BITMAP",
                                     "CURSOR",
                                     "FONT",
                                     "HTML",
                                     "RCDATA",
                                     "MESSAGETABLE",
                                     "TEXTINCLUDE",
                                     "DLGINIT",
                                     "DESIGNINFO",
                                     "AFX_DIALOG_LAYOUT",
                                     "TOOLBAR",
                                     "DLGINCLUDE",
                                     "ANICURSOR",
                                     "ANIICON",
                                     "PLUGPLAY",
                                     "VXD"};

// A block name as plain characters, for comparing with the record's fixed names.
std::string AsciiOnly(const std::u32string& text) {
    std::string out;
    for (char32_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

class Parser {
public:
    Parser(const Preprocessed& pp, const std::string& path, const FileReader& read, Script* script,
           Diagnostic* error)
        : m_c(pp.tokens, pp.end), m_path(path), m_read(read), m_script(script), m_error(error) {}

    bool Run();

private:
    bool Fail(const Location& where, std::string message) {
        m_error->where = where;
        m_error->message = std::move(message);
        return false;
    }
    bool Expect(const char* punct);
    bool Value(int64_t* value, int minPrecedence = 1);
    bool Int(int* value);
    bool SkipValue();
    bool StyleList(uint32_t base, uint32_t* style);
    bool Text(std::u32string* text);
    bool Language(uint16_t* language);
    bool IsBegin() const { return m_c.IsKeyword("BEGIN") || m_c.IsPunct("{"); }
    bool IsEnd() const { return m_c.IsKeyword("END") || m_c.IsPunct("}"); }
    bool ExpectBegin();
    void SkipMemoryFlags();
    bool SkipBlock();
    bool SkipResource();
    bool Statement();
    bool StringTable();
    bool Dialog(int id, bool extended, const Location& where);
    bool DialogHeaderStatement(DialogDef* dialog, bool extended, bool* hasStyle);
    bool Control(DialogDef* dialog, bool extended);
    bool ControlTail(ControlDef* control, uint32_t base, uint32_t defaults, bool replace,
                     bool extended);
    bool IconResource(int id, const Location& where);
    bool VersionInfo();
    bool VersionBlock(std::vector<std::u32string>& path);
    bool CheckIconReferences();

    TokenCursor m_c;
    std::string m_path;
    const FileReader& m_read;
    Script* m_script;
    Diagnostic* m_error;
    uint16_t m_language = kDefaultLanguage; // of the last LANGUAGE statement outside a resource
    SymbolLookup m_lookup = [](const std::string& name, int64_t* value) {
        return LookupWindowsConstant(name, value);
    };
};

bool Parser::Run() {
    while (!m_c.AtEnd()) {
        if (!Statement())
            return false;
    }
    return CheckIconReferences();
}

bool Parser::Expect(const char* punct) {
    if (m_c.Accept(punct))
        return true;
    const Token& t = m_c.Peek();
    return Fail(t.where,
                std::string("expected '") + punct + "'" +
                    (t.kind == TokenKind::End ? " at end of file" : " before '" + t.text + "'"));
}

bool Parser::Value(int64_t* value, int minPrecedence) {
    return EvalExpression(m_c, m_lookup, value, m_error, minPrecedence);
}

bool Parser::Int(int* value) {
    int64_t v = 0;
    if (!Value(&v))
        return false;
    *value = static_cast<int>(v);
    return true;
}

bool Parser::SkipValue() {
    SymbolLookup any = [](const std::string&, int64_t* v) {
        *v = 0;
        return true;
    };
    int64_t ignored = 0;
    return EvalExpression(m_c, any, &ignored, m_error);
}

bool Parser::StyleList(uint32_t base, uint32_t* style) {
    uint32_t value = base;
    do {
        bool remove = m_c.IsKeyword("NOT");
        if (remove)
            m_c.Next();
        int64_t term = 0;
        if (!Value(&term, kBitOrPrecedence + 1))
            return false;
        if (remove)
            value &= ~static_cast<uint32_t>(term);
        else
            value |= static_cast<uint32_t>(term);
    } while (m_c.Accept("|"));
    *style = value;
    return true;
}

bool Parser::Text(std::u32string* text) {
    const Token& t = m_c.Peek();
    if (t.kind != TokenKind::String)
        return Fail(t.where, t.kind == TokenKind::End
                                 ? "expected a string at end of file"
                                 : "expected a string before '" + t.text + "'");
    m_c.Next();
    return DecodeString(t, text, m_error);
}

// LANGUAGE primary, sub: the language of the resources that follow (outside
// a resource) or of the one resource it stands in.
bool Parser::Language(uint16_t* language) {
    Location where = m_c.Next().where;
    int64_t primary = 0, sub = 0;
    if (!Value(&primary) || !Expect(",") || !Value(&sub))
        return false;
    if (primary < 0 || primary > 0x3FF || sub < 0 || sub > 0x3F)
        return Fail(where, "language " + std::to_string(primary) + ", " + std::to_string(sub) +
                               " is out of range");
    *language = static_cast<uint16_t>(sub << 10 | primary);
    return true;
}

bool Parser::ExpectBegin() {
    if (IsBegin()) {
        m_c.Next();
        return true;
    }
    const Token& t = m_c.Peek();
    return Fail(t.where, t.kind == TokenKind::End ? "expected BEGIN at end of file"
                                                  : "expected BEGIN before '" + t.text + "'");
}

void Parser::SkipMemoryFlags() {
    for (;;) {
        bool flag = false;
        for (const char* f : kMemoryFlags)
            flag = flag || m_c.IsKeyword(f);
        if (!flag)
            return;
        m_c.Next();
    }
}

bool Parser::SkipBlock() {
    Location open = m_c.Peek().where;
    int depth = 0;
    do {
        if (m_c.AtEnd())
            return Fail(open, "BEGIN without END");
        if (IsBegin())
            ++depth;
        else if (IsEnd())
            --depth;
        m_c.Next();
    } while (depth > 0);
    return true;
}

bool Parser::SkipResource() {
    SkipMemoryFlags();
    if (m_c.Peek().kind == TokenKind::String) {
        m_c.Next(); // data from a file
        return true;
    }
    while (!IsBegin()) {
        if (m_c.AtEnd() || IsEnd())
            return ExpectBegin();
        m_c.Next();
    }
    return SkipBlock();
}

bool Parser::Statement() {
    if (m_c.IsKeyword("LANGUAGE"))
        return Language(&m_language);
    if (m_c.IsKeyword("STRINGTABLE")) {
        m_c.Next();
        return StringTable();
    }
    Token name = m_c.Peek();
    bool symbolic = name.kind == TokenKind::Identifier || name.kind == TokenKind::String;
    int64_t id = 0;
    if (symbolic)
        m_c.Next();
    else if (!Value(&id))
        return false;

    Token type = m_c.Next();
    bool dialog = type.kind == TokenKind::Identifier && (EqualsIgnoreCase(type.text, "DIALOGEX") ||
                                                         EqualsIgnoreCase(type.text, "DIALOG"));
    bool icon = type.kind == TokenKind::Identifier && EqualsIgnoreCase(type.text, "ICON");
    if (type.kind == TokenKind::Identifier && EqualsIgnoreCase(type.text, "VERSIONINFO"))
        return VersionInfo();
    if (dialog || icon) {
        if (symbolic)
            return Fail(name.where, name.kind == TokenKind::String
                                        ? "resources the program loads need numeric ids"
                                        : "'" + name.text + "' is not defined");
        if (icon)
            return IconResource(static_cast<int>(id), name.where);
        return Dialog(static_cast<int>(id), EqualsIgnoreCase(type.text, "DIALOGEX"), name.where);
    }
    switch (type.kind) {
    case TokenKind::Identifier: {
        int64_t number = 0;
        bool skipped = LookupWindowsConstant(type.text, &number);
        for (const char* known : kSkippedTypes)
            skipped = skipped || EqualsIgnoreCase(type.text, known);
        if (!skipped)
            return Fail(type.where, "unknown resource type '" + type.text + "'");
        return SkipResource();
    }
    case TokenKind::Number:
    case TokenKind::String:
        return SkipResource(); // a resource of a user-defined type
    case TokenKind::Punct:
        return Fail(type.where, "expected a resource type before '" + type.text + "'");
    case TokenKind::End:
        break;
    }
    return Fail(type.where, "expected a resource type at end of file");
}

bool Parser::VersionInfo() {
    // The fixed part (FILEVERSION, FILEFLAGS, ...) only matters to Windows.
    while (!IsBegin()) {
        if (m_c.AtEnd() || IsEnd())
            return ExpectBegin();
        m_c.Next();
    }
    std::vector<std::u32string> path;
    return VersionBlock(path);
}

// The language of a StringFileInfo block, named by language and code page in
// hexadecimal ("080403a8"); a name of another form keeps the script's.
uint16_t BlockLanguage(const std::u32string& name, uint16_t fallback) {
    if (name.size() != 8)
        return fallback;
    uint32_t value = 0;
    for (char32_t c : name.substr(0, 4)) {
        const int digit = c >= U'0' && c <= U'9'   ? static_cast<int>(c - U'0')
                          : c >= U'a' && c <= U'f' ? static_cast<int>(c - U'a' + 10)
                          : c >= U'A' && c <= U'F' ? static_cast<int>(c - U'A' + 10)
                                                   : -1;
        if (digit < 0)
            return fallback;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return static_cast<uint16_t>(value);
}

// One BEGIN ... END level of the record: BLOCK "name" opens a level, VALUE
// "name", data... is a value. The strings of each language block under
// StringFileInfo are kept; the rest is Windows' business.
bool Parser::VersionBlock(std::vector<std::u32string>& path) {
    Location open = m_c.Next().where;
    while (!IsEnd()) {
        const Token& t = m_c.Peek();
        if (m_c.AtEnd())
            return Fail(open, "BEGIN without END");
        if (m_c.IsKeyword("BLOCK")) {
            m_c.Next();
            std::u32string name;
            if (!Text(&name))
                return false;
            if (!IsBegin())
                return ExpectBegin();
            path.push_back(name);
            if (!VersionBlock(path))
                return false;
            path.pop_back();
            continue;
        }
        if (!m_c.IsKeyword("VALUE"))
            return Fail(t.where, "expected BLOCK, VALUE or END before '" + t.text + "'");
        m_c.Next();
        VersionStringDef entry;
        if (!Text(&entry.name))
            return false;
        bool hasText = false;
        while (m_c.Accept(",")) {
            if (m_c.Peek().kind != TokenKind::String) {
                if (!SkipValue())
                    return false;
                continue;
            }
            std::u32string text;
            if (!Text(&text))
                return false;
            if (!hasText)
                entry.value = text;
            hasText = true;
        }
        const bool strings =
            path.size() == 2 && EqualsIgnoreCase(AsciiOnly(path[0]), "StringFileInfo");
        if (strings && hasText) {
            entry.language = BlockLanguage(path[1], m_language);
            m_script->versionStrings.push_back(std::move(entry));
        }
    }
    m_c.Next();
    return true;
}

bool Parser::StringTable() {
    SkipMemoryFlags();
    uint16_t language = m_language;
    while (!IsBegin()) {
        if (m_c.IsKeyword("LANGUAGE")) {
            if (!Language(&language))
                return false;
        } else if (m_c.IsKeyword("CHARACTERISTICS") || m_c.IsKeyword("VERSION")) {
            m_c.Next();
            if (!SkipValue())
                return false;
        } else {
            return ExpectBegin();
        }
    }
    m_c.Next();
    while (!IsEnd()) {
        Location where = m_c.Peek().where;
        if (m_c.AtEnd())
            return Fail(where, "STRINGTABLE without END");
        int64_t id = 0;
        StringDef entry;
        if (!Value(&id))
            return false;
        m_c.Accept(",");
        if (!Text(&entry.text))
            return false;
        if (id < 0 || id > 0xFFFF)
            return Fail(where, "string id " + std::to_string(id) + " is out of range");
        entry.id = static_cast<unsigned>(id);
        entry.language = language;
        for (const StringDef& other : m_script->strings) {
            if (other.id == entry.id && other.language == language)
                return Fail(where, "string id " + std::to_string(id) + " is defined twice");
        }
        m_script->strings.push_back(std::move(entry));
    }
    m_c.Next();
    return true;
}

bool Parser::Dialog(int id, bool extended, const Location& where) {
    DialogDef dialog;
    dialog.id = id;
    dialog.language = m_language;
    SkipMemoryFlags();
    if (!Int(&dialog.x) || !Expect(",") || !Int(&dialog.y) || !Expect(",") || !Int(&dialog.cx) ||
        !Expect(",") || !Int(&dialog.cy))
        return false;
    if (extended && m_c.Accept(",") && !SkipValue())
        return false; // help id
    bool hasStyle = false, hasCaption = false;
    while (!IsBegin()) {
        hasCaption = hasCaption || m_c.IsKeyword("CAPTION");
        if (!DialogHeaderStatement(&dialog, extended, &hasStyle))
            return false;
    }
    if (!hasStyle)
        dialog.style = kWsPopup | kWsBorder | kWsSysMenu | (hasCaption ? kWsCaption : 0);
    if (!dialog.fontName.empty())
        dialog.style |= kDsSetFont;
    m_c.Next();
    while (!IsEnd()) {
        if (m_c.AtEnd())
            return Fail(where, "dialog without END");
        if (!Control(&dialog, extended))
            return false;
    }
    m_c.Next();
    // One template per id and language: a LANGUAGE of its own may come in the header.
    for (const DialogDef& other : m_script->dialogs) {
        if (other.id == id && other.language == dialog.language)
            return Fail(where, "dialog " + std::to_string(id) + " is defined twice");
    }
    m_script->dialogs.push_back(std::move(dialog));
    return true;
}

bool Parser::DialogHeaderStatement(DialogDef* dialog, bool extended, bool* hasStyle) {
    const Token& t = m_c.Peek();
    Location where = t.where;
    if (m_c.IsKeyword("STYLE")) {
        m_c.Next();
        *hasStyle = true;
        return StyleList(0, &dialog->style);
    }
    if (m_c.IsKeyword("EXSTYLE")) {
        m_c.Next();
        return StyleList(0, &dialog->exStyle);
    }
    if (m_c.IsKeyword("CAPTION")) {
        m_c.Next();
        return Text(&dialog->caption);
    }
    if (m_c.IsKeyword("FONT")) {
        m_c.Next();
        if (!Int(&dialog->pointSize) || !Expect(",") || !Text(&dialog->fontName))
            return false;
        if (dialog->fontName.empty())
            return Fail(where, "FONT needs a face name");
        int italic = 0;
        if (extended && m_c.Accept(",") &&
            (!Int(&dialog->weight) ||
             (m_c.Accept(",") && (!Int(&italic) || (m_c.Accept(",") && !Int(&dialog->charset))))))
            return false;
        dialog->italic = italic != 0;
        return true;
    }
    if (m_c.IsKeyword("MENU") || m_c.IsKeyword("CLASS")) {
        m_c.Next();
        if (m_c.AtEnd())
            return Fail(where, "expected a name at end of file");
        m_c.Next();
        return true;
    }
    if (m_c.IsKeyword("LANGUAGE"))
        return Language(&dialog->language);
    if (m_c.IsKeyword("CHARACTERISTICS") || m_c.IsKeyword("VERSION")) {
        m_c.Next();
        return SkipValue();
    }
    return ExpectBegin();
}

bool Parser::Control(DialogDef* dialog, bool extended) {
    Token keyword = m_c.Next();
    ControlDef control;
    control.where = keyword.where;
    if (keyword.kind != TokenKind::Identifier)
        return Fail(keyword.where, "expected a control before '" + keyword.text + "'");

    if (EqualsIgnoreCase(keyword.text, "CONTROL")) {
        if (!Text(&control.text) || !Expect(",") || !Int(&control.id) || !Expect(","))
            return false;
        Token cls = m_c.Next();
        std::u32string className;
        if (cls.kind == TokenKind::String && !DecodeString(cls, &className, m_error))
            return false;
        std::string name = cls.kind == TokenKind::String ? ToUtf8(className) : cls.text;
        for (const char* known : kClasses) {
            if (cls.kind != TokenKind::Punct && EqualsIgnoreCase(name, known))
                control.className = known;
        }
        if (control.className.empty())
            return Fail(cls.where, "control class '" + name + "' is not supported");
        if (!Expect(",") || !StyleList(kWsChild | kWsVisible, &control.style) || !Expect(",") ||
            !Int(&control.x) || !Expect(",") || !Int(&control.y) || !Expect(",") ||
            !Int(&control.cx) || !Expect(",") || !Int(&control.cy))
            return false;
        if (m_c.Accept(",") && !StyleList(0, &control.exStyle))
            return false;
        if (extended && m_c.Accept(",") && !SkipValue())
            return false;
        dialog->controls.push_back(std::move(control));
        return !IsBegin() || SkipBlock();
    }

    const ShortForm* form = nullptr;
    for (const ShortForm& f : kShortForms) {
        if (EqualsIgnoreCase(keyword.text, f.keyword))
            form = &f;
    }
    if (!form)
        return Fail(keyword.where, "control '" + keyword.text + "' is not supported");
    control.className = form->className;
    bool icon = EqualsIgnoreCase(keyword.text, "ICON");
    if (form->hasText) {
        if (icon && m_c.Peek().kind != TokenKind::String) {
            // An icon picture names its icon by id; the dialogs look it up as "#id".
            int iconId = 0;
            if (!Int(&iconId))
                return false;
            std::string ref = "#" + std::to_string(iconId);
            control.text.assign(ref.begin(), ref.end());
        } else if (!Text(&control.text)) {
            return false;
        }
        if (!Expect(","))
            return false;
    }
    if (!Int(&control.id) || !Expect(",") || !Int(&control.x) || !Expect(",") || !Int(&control.y))
        return false;
    bool hasSize = !icon || m_c.IsPunct(",");
    if (hasSize && (!Expect(",") || !Int(&control.cx) || !Expect(",") || !Int(&control.cy)))
        return false;
    uint32_t base = kWsChild | kWsVisible;
    if (!ControlTail(&control, base, form->defaults, form->defaultsOnlyWithoutStyle, extended))
        return false;
    dialog->controls.push_back(std::move(control));
    return !IsBegin() || SkipBlock();
}

bool Parser::ControlTail(ControlDef* control, uint32_t base, uint32_t defaults, bool replace,
                         bool extended) {
    if (!m_c.Accept(",")) {
        control->style = base | defaults;
        return true;
    }
    if (!StyleList(replace ? base : base | defaults, &control->style))
        return false;
    if (m_c.Accept(",") && !StyleList(0, &control->exStyle))
        return false;
    if (extended && m_c.Accept(",") && !SkipValue())
        return false; // help id
    return true;
}

bool Parser::IconResource(int id, const Location& where) {
    for (const IconDef& other : m_script->icons) {
        if (other.id == id)
            return Fail(where, "icon " + std::to_string(id) + " is defined twice");
    }
    SkipMemoryFlags();
    std::u32string name;
    if (!Text(&name))
        return false;
    std::string file = ToUtf8(name);
    std::replace(file.begin(), file.end(), '\\', '/');
    std::string full = !file.empty() && file.front() == '/' ? file : DirectoryOf(m_path) + file;
    std::string contents, problem;
    if (!m_read(full, &contents))
        return Fail(where, "cannot read icon file '" + file + "'");
    IconDef icon;
    icon.id = id;
    icon.file = full;
    icon.bytes.assign(contents.begin(), contents.end());
    if (!CheckIconFile(icon.bytes, &problem))
        return Fail(where, "'" + file + "' is not an icon file: " + problem);
    m_script->inputs.push_back(full);
    m_script->icons.push_back(std::move(icon));
    return true;
}

bool Parser::CheckIconReferences() {
    for (const DialogDef& dialog : m_script->dialogs) {
        for (const ControlDef& control : dialog.controls) {
            bool picture = control.className == "STATIC" && (control.style & 0x1F) == 0x3;
            if (!picture || control.text.empty() || control.text[0] != U'#')
                continue;
            std::string id(control.text.begin() + 1, control.text.end());
            bool found = std::any_of(m_script->icons.begin(), m_script->icons.end(),
                                     [&](const IconDef& i) { return std::to_string(i.id) == id; });
            if (!found)
                return Fail(control.where, "icon " + id + " is not defined");
        }
    }
    return true;
}

} // namespace

bool ParseScript(const std::string& path, const FileReader& read, Script* script,
                 Diagnostic* error) {
    Preprocessed pp;
    if (!Preprocess(path, read, &pp, error))
        return false;
    script->inputs = pp.files;
    Parser parser(pp, path, read, script, error);
    return parser.Run();
}

} // namespace rc
