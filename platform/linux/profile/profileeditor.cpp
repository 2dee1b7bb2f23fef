// Line classification and the update rules of the profile format, done as
// splices on the original text so untouched bytes cannot change. Sections
// and keys are found by the rules Windows' readers use, so a value written
// here is the value they read. Lines are read one at a time and never
// stored: a file of many sections is scanned once, up to the end of the
// section the request names.
#include "platform/linux/profile/profileeditor.h"

#include <string>
#include <string_view>

namespace profile {

namespace {

// Lines end at CR LF, at LF and at a lone CR. A line whose first non-blank
// character is '[' and that holds a ']' after it is a section header; a
// comment starts with ';'; any other line that is not blank holds a key,
// named by what comes before its first '=' (the whole line when there is
// none).
enum class ELineKind { Blank, Comment, Section, Key };

struct CLine {
    size_t m_begin = 0; // first unit of the line
    size_t m_end = 0;   // end of the content, before its line break
    size_t m_next = 0;  // first unit of the following line
    ELineKind m_kind = ELineKind::Blank;
    bool HasTerminator() const { return m_next != m_end; }
};

template <class C> using View = std::basic_string_view<C>;

template <class C> C AsciiLower(C c) {
    return c >= C('A') && c <= C('Z') ? C(c + ('a' - 'A')) : c;
}

template <class C> bool NamesEqual(View<C> a, View<C> b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

template <class C> size_t FindLineBreak(const std::basic_string<C>& text, size_t begin) {
    for (size_t i = begin; i < text.size(); ++i)
        if (text[i] == C('\r') || text[i] == C('\n'))
            return i;
    return std::basic_string<C>::npos;
}

// One memchr for LF, then one for CR up to it, are far faster on a large
// file than a search for either.
template <> size_t FindLineBreak(const std::string& text, size_t begin) {
    size_t lf = text.find('\n', begin);
    size_t end = lf == std::string::npos ? text.size() : lf;
    const char* cr = std::char_traits<char>::find(text.data() + begin, end - begin, '\r');
    return cr ? size_t(cr - text.data()) : lf;
}

template <class C> class CLineReader {
public:
    explicit CLineReader(const std::basic_string<C>& text) : m_text(text) {}

    CLine At(size_t begin) const {
        CLine line;
        line.m_begin = begin;
        size_t brk = FindLineBreak(m_text, begin);
        if (brk == std::basic_string<C>::npos) {
            line.m_end = line.m_next = m_text.size();
        } else {
            line.m_end = brk;
            line.m_next = brk + 1;
            if (m_text[brk] == C('\r') && brk + 1 < m_text.size() && m_text[brk + 1] == C('\n'))
                ++line.m_next;
        }
        // The first character that is not a blank decides; every line of a
        // large file passes here, so only a header is looked at further.
        View<C> content = TrimBlanks(Content(line));
        if (content.empty())
            line.m_kind = ELineKind::Blank;
        else if (content.front() == C('[') && content.find(C(']'), 1) != View<C>::npos)
            line.m_kind = ELineKind::Section;
        else if (content.front() == C(';'))
            line.m_kind = ELineKind::Comment;
        else
            line.m_kind = ELineKind::Key;
        return line;
    }

    View<C> Content(const CLine& line) const {
        return View<C>(m_text).substr(line.m_begin, line.m_end - line.m_begin);
    }

    // The name runs to the last ']' of the line: "[A] ]" is the section "A]".
    View<C> SectionName(const CLine& line) const {
        View<C> content = TrimBlanks(Content(line));
        return TrimBlanks(content.substr(1, content.rfind(C(']')) - 1));
    }

    View<C> KeyName(const CLine& line) const {
        View<C> content = Content(line);
        return TrimBlanks(content.substr(0, content.find(C('='))));
    }

    bool HasEquals(const CLine& line) const { return Content(line).find(C('=')) != View<C>::npos; }

    // The value as readers see it: blanks trimmed on both sides.
    View<C> Value(const CLine& line) const {
        const size_t begin = ValueBegin(line);
        return TrimBlanks(View<C>(m_text).substr(begin, line.m_end - begin));
    }

    // Where the value starts: after the equals sign and any blanks that the
    // file put there, which are kept.
    size_t ValueBegin(const CLine& line) const {
        size_t pos = m_text.find(C('='), line.m_begin) + 1;
        while (pos < line.m_end && IsProfileBlank(m_text[pos]))
            ++pos;
        return pos;
    }

    // The line break the file's first line uses; CR LF for a file without
    // one, as the format's home platform writes.
    std::basic_string<C> Eol() const {
        size_t brk = FindLineBreak(m_text, 0);
        if (brk == std::basic_string<C>::npos)
            return {C('\r'), C('\n')};
        if (m_text[brk] == C('\n'))
            return {C('\n')};
        if (brk + 1 < m_text.size() && m_text[brk + 1] == C('\n'))
            return {C('\r'), C('\n')};
        return {C('\r')};
    }

    // The line break for new lines put in at pos: a lone CR before an LF
    // would pair with it and swallow the empty line that LF ends.
    std::basic_string<C> EolBefore(size_t pos) const {
        std::basic_string<C> eol = Eol();
        if (eol.size() == 1 && eol[0] == C('\r') && pos < m_text.size() && m_text[pos] == C('\n'))
            eol += C('\n');
        return eol;
    }

private:
    static View<C> TrimBlanks(View<C> s) {
        while (!s.empty() && IsProfileBlank(s.front()))
            s.remove_prefix(1);
        while (!s.empty() && IsProfileBlank(s.back()))
            s.remove_suffix(1);
        return s;
    }

    const std::basic_string<C>& m_text;
};

// A section as readers see it: the keys before the first header form a
// section of their own with an empty name, the others run from their header
// to the next header.
struct CSection {
    bool m_hasHeader = false;
    CLine m_header;        // valid with m_hasHeader
    size_t m_begin = 0;    // first unit of the header, or 0
    size_t m_body = 0;     // first unit after the header
    size_t m_end = 0;      // where the scan of the body stopped
    bool m_hasKey = false; // m_lastKey is valid
    CLine m_lastKey;       // the last key line; found keys end the scan early
};

template <class C> class CSectionScanner {
public:
    CSectionScanner(const std::basic_string<C>& text, const CLineReader<C>& reader)
        : m_text(text), m_reader(reader) {}

    // The next section named name after the one found last (the nameless
    // part at the top first); with key, the scan of its body stops at the
    // first line holding that key, which is then m_lastKey.
    bool Next(View<C> name, const std::basic_string<C>* key, CSection& section, bool& hasKey) {
        hasKey = false;
        while (m_pos < m_text.size() || !m_startedTop) {
            CSection candidate;
            if (!m_startedTop) {
                m_startedTop = true;
            } else {
                CLine line = m_reader.At(m_pos);
                m_pos = line.m_next;
                if (line.m_kind != ELineKind::Section)
                    continue;
                candidate.m_hasHeader = true;
                candidate.m_header = line;
                candidate.m_begin = line.m_begin;
                candidate.m_body = line.m_next;
            }
            const bool match = candidate.m_hasHeader
                                   ? NamesEqual(m_reader.SectionName(candidate.m_header), name)
                                   : name.empty();
            if (!match)
                continue;
            ScanBody(key, candidate, hasKey);
            section = candidate;
            return true;
        }
        return false;
    }

private:
    void ScanBody(const std::basic_string<C>* key, CSection& section, bool& hasKey) {
        size_t pos = section.m_body;
        while (pos < m_text.size()) {
            CLine line = m_reader.At(pos);
            if (line.m_kind == ELineKind::Section)
                break;
            pos = line.m_next;
            if (line.m_kind != ELineKind::Key)
                continue;
            section.m_hasKey = true;
            section.m_lastKey = line;
            if (key && NamesEqual(m_reader.KeyName(line), View<C>(*key))) {
                hasKey = true;
                break;
            }
        }
        // The header that ended the body must still be seen by the next call.
        section.m_end = m_pos = pos;
    }

    const std::basic_string<C>& m_text;
    const CLineReader<C>& m_reader;
    size_t m_pos = 0;
    bool m_startedTop = false;
};

template <class C>
bool SetValue(const std::basic_string<C>& text, const CLineReader<C>& reader,
              const CProfileEdit<C>& edit, CProfileSplice<C>& splice) {
    const std::basic_string<C>& key = *edit.m_key;
    const std::basic_string<C>& value = *edit.m_value;
    CSectionScanner<C> scanner(text, reader);
    CSection section;
    bool hasKey = false;
    if (!scanner.Next(View<C>(edit.m_section), &key, section, hasKey)) {
        const std::basic_string<C> eol = reader.EolBefore(text.size());
        splice = {text.size(), 0, {}};
        if (!text.empty() && text.back() != C('\n') && text.back() != C('\r'))
            splice.m_insert = eol;
        splice.m_insert += C('[') + edit.m_section + C(']') + eol;
        splice.m_insert += key + C('=') + value + eol;
        return true;
    }

    if (hasKey) {
        const CLine& line = section.m_lastKey;
        // A key line without '=' is a key without a value: the value goes
        // behind it.
        if (!reader.HasEquals(line)) {
            splice = {line.m_end, 0, C('=') + value};
            return true;
        }
        // The file's blanks after '=' are kept, unless the new value brings
        // its own: then the whole value side is replaced, or every write of
        // such a value would add blanks.
        size_t valueBegin = !value.empty() && IsProfileBlank(value.front())
                                ? text.find(C('='), line.m_begin) + 1
                                : reader.ValueBegin(line);
        if (text.compare(valueBegin, line.m_end - valueBegin, value) == 0)
            return false;
        splice = {valueBegin, line.m_end - valueBegin, value};
        return true;
    }

    // The new key goes behind the section's last key line, so trailing blank
    // lines and a comment that introduces the next section stay put; into a
    // section without keys, right behind its header (the top of the file for
    // the nameless one).
    std::basic_string<C> terminator;
    size_t at = 0;
    if (section.m_hasKey || section.m_hasHeader) {
        const CLine& after = section.m_hasKey ? section.m_lastKey : section.m_header;
        at = after.m_next;
        if (!after.HasTerminator())
            terminator = reader.EolBefore(at);
    }
    splice = {at, 0, terminator + key + C('=') + value + reader.EolBefore(at)};
    return true;
}

// A removal names sections and keys as given: the caller passes no names
// with blanks around them here, as Windows finds none for them.
template <class C>
bool Remove(const std::basic_string<C>& text, const CLineReader<C>& reader,
            const CProfileEdit<C>& edit, CProfileSplice<C>& splice) {
    CSectionScanner<C> scanner(text, reader);
    CSection section;
    bool hasKey = false;
    if (!edit.m_key) {
        // The first section of that name, from its header to its last key
        // line; what introduces the next section stays.
        if (!scanner.Next(View<C>(edit.m_section), nullptr, section, hasKey))
            return false;
        size_t end = section.m_hasKey ? section.m_lastKey.m_next : section.m_body;
        if (end == section.m_begin)
            return false;
        splice = {section.m_begin, end - section.m_begin, {}};
        return true;
    }
    // The key goes from the first section of that name that holds it.
    while (scanner.Next(View<C>(edit.m_section), &*edit.m_key, section, hasKey)) {
        if (hasKey) {
            const CLine& line = section.m_lastKey;
            splice = {line.m_begin, line.m_next - line.m_begin, {}};
            return true;
        }
    }
    return false;
}

} // namespace

template <class C>
bool EditProfileText(const std::basic_string<C>& text, const CProfileEdit<C>& edit,
                     CProfileSplice<C>& splice) {
    const CLineReader<C> reader(text);
    if (edit.m_key && edit.m_value)
        return SetValue(text, reader, edit, splice);
    return Remove(text, reader, edit, splice);
}

template <class C>
bool CProfileQuery<C>::Value(const std::basic_string<C>& text, View section, View key,
                             View& value) {
    const CLineReader<C> reader(text);
    CSectionScanner<C> scanner(text, reader);
    CSection found;
    bool hasKey = false;
    const std::basic_string<C> name(key);
    if (!scanner.Next(section, &name, found, hasKey) || !hasKey ||
        !reader.HasEquals(found.m_lastKey))
        return false;
    value = reader.Value(found.m_lastKey);
    return true;
}

template <class C>
bool CProfileQuery<C>::Keys(const std::basic_string<C>& text, View section,
                            std::vector<View>& keys) {
    const CLineReader<C> reader(text);
    CSectionScanner<C> scanner(text, reader);
    CSection found;
    bool hasKey = false;
    if (!scanner.Next(section, nullptr, found, hasKey))
        return false;
    // Readers keep no key with an empty name right after another one: of
    // "=1" and "=2" on consecutive lines only the first is listed.
    bool afterEmptyName = false;
    for (size_t pos = found.m_body; pos < found.m_end;) {
        const CLine line = reader.At(pos);
        pos = line.m_next;
        if (line.m_kind == ELineKind::Comment)
            afterEmptyName = false;
        if (line.m_kind != ELineKind::Key)
            continue;
        const View name = reader.KeyName(line);
        if (name.empty() && afterEmptyName)
            continue;
        afterEmptyName = name.empty();
        if (reader.HasEquals(line))
            keys.push_back(name);
    }
    return true;
}

template <class C>
void CProfileQuery<C>::Sections(const std::basic_string<C>& text, std::vector<View>& sections) {
    const CLineReader<C> reader(text);
    for (size_t pos = 0; pos < text.size();) {
        const CLine line = reader.At(pos);
        pos = line.m_next;
        if (line.m_kind == ELineKind::Section && !reader.SectionName(line).empty())
            sections.push_back(reader.SectionName(line));
    }
}

template struct CProfileQuery<char>;
template struct CProfileQuery<char16_t>;

template bool EditProfileText<char>(const std::string&, const CProfileEdit<char>&,
                                    CProfileSplice<char>&);
template bool EditProfileText<char16_t>(const std::u16string&, const CProfileEdit<char16_t>&,
                                        CProfileSplice<char16_t>&);

} // namespace profile
