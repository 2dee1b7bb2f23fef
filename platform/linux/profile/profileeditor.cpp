// Line classification and the four update rules of the profile format, done
// as splices on the original text so untouched bytes cannot change. Lines
// are read one at a time and never stored: a file of many sections is
// scanned once, up to the end of the section the request names.
#include "platform/linux/profile/profileeditor.h"

#include <string_view>

namespace profile {

namespace {

enum class ELineKind { Blank, Comment, Section, Other };

struct CLine {
    size_t m_begin = 0; // first unit of the line
    size_t m_end = 0;   // end of the content, before CR LF or LF
    size_t m_next = 0;  // first unit of the following line
    ELineKind m_kind = ELineKind::Blank;
    bool HasTerminator() const { return m_next != m_end; }
};

template <class C> bool IsBlank(C c) {
    return c == C(' ') || c == C('\t');
}

template <class C> C AsciiLower(C c) {
    return c >= C('A') && c <= C('Z') ? C(c + ('a' - 'A')) : c;
}

template <class C> std::basic_string_view<C> Trim(std::basic_string_view<C> s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

template <class C> bool NamesEqual(std::basic_string_view<C> a, std::basic_string_view<C> b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

template <class C> class CLineReader {
public:
    explicit CLineReader(const std::basic_string<C>& text) : m_text(text) {}

    CLine At(size_t begin) const {
        CLine line;
        line.m_begin = begin;
        size_t lf = m_text.find(C('\n'), begin);
        if (lf == std::basic_string<C>::npos) {
            line.m_end = line.m_next = m_text.size();
        } else {
            line.m_next = lf + 1;
            line.m_end = lf > begin && m_text[lf - 1] == C('\r') ? lf - 1 : lf;
        }
        // The first character that is not a blank decides; every line of a
        // large file passes here, so nothing else is looked at.
        size_t first = begin;
        while (first < line.m_end && IsBlank(m_text[first]))
            ++first;
        if (first == line.m_end)
            line.m_kind = ELineKind::Blank;
        else if (m_text[first] == C('['))
            line.m_kind = ELineKind::Section;
        else if (m_text[first] == C(';') || m_text[first] == C('#'))
            line.m_kind = ELineKind::Comment;
        else
            line.m_kind = ELineKind::Other;
        return line;
    }

    std::basic_string_view<C> Content(const CLine& line) const {
        return std::basic_string_view<C>(m_text).substr(line.m_begin, line.m_end - line.m_begin);
    }

    // The name between the brackets; a header missing its closing bracket
    // still opens a section, so keys below it are never taken for keys of
    // the section above.
    std::basic_string_view<C> SectionName(const CLine& line) const {
        auto content = Trim(Content(line));
        content.remove_prefix(1);
        return Trim(content.substr(0, content.find(C(']'))));
    }

    // Only lines with an equals sign hold keys.
    bool IsKey(const CLine& line, std::basic_string_view<C> key) const {
        if (line.m_kind != ELineKind::Other)
            return false;
        auto content = Content(line);
        size_t eq = content.find(C('='));
        return eq != std::basic_string_view<C>::npos &&
               NamesEqual(Trim(content.substr(0, eq)), key);
    }

    // Where the value starts: after the equals sign and any blanks that the
    // file put there, which are kept.
    size_t ValueBegin(const CLine& line) const {
        size_t pos = m_text.find(C('='), line.m_begin) + 1;
        while (pos < line.m_end && IsBlank(m_text[pos]))
            ++pos;
        return pos;
    }

    // The line ending the file already uses; CR LF for a file without one,
    // as the format's home platform writes.
    std::basic_string<C> Eol() const {
        size_t lf = m_text.find(C('\n'));
        if (lf != std::basic_string<C>::npos && (lf == 0 || m_text[lf - 1] != C('\r')))
            return {C('\n')};
        return {C('\r'), C('\n')};
    }

private:
    const std::basic_string<C>& m_text;
};

} // namespace

template <class C>
bool EditProfileText(const std::basic_string<C>& text, const CProfileEdit<C>& edit,
                     CProfileSplice<C>& splice) {
    const CLineReader<C> reader(text);
    const std::basic_string_view<C> section(edit.m_section);

    CLine header;
    bool found = false;
    for (size_t pos = 0; pos < text.size() && !found; pos = header.m_next) {
        header = reader.At(pos);
        found =
            header.m_kind == ELineKind::Section && NamesEqual(reader.SectionName(header), section);
    }
    if (!found) {
        if (!edit.m_key || !edit.m_value)
            return false;
        const std::basic_string<C> eol = reader.Eol();
        splice.m_offset = text.size();
        splice.m_erase = 0;
        splice.m_insert.clear();
        if (!text.empty() && text.back() != C('\n'))
            splice.m_insert = eol;
        splice.m_insert += C('[') + edit.m_section + C(']') + eol;
        splice.m_insert += *edit.m_key + C('=') + *edit.m_value + eol;
        return true;
    }

    // The line a new key goes behind, and where a removed section ends: the
    // section's last line that is neither blank nor a comment, so trailing
    // blank lines and a comment introducing the next section stay put.
    CLine last = header;
    bool hasKey = false;
    for (size_t pos = header.m_next; pos < text.size() && !hasKey;) {
        CLine line = reader.At(pos);
        if (line.m_kind == ELineKind::Section)
            break;
        if (line.m_kind == ELineKind::Other) {
            last = line;
            hasKey = edit.m_key && reader.IsKey(line, *edit.m_key);
        }
        pos = line.m_next;
    }

    if (!edit.m_key) {
        splice = {header.m_begin, last.m_next - header.m_begin, {}};
        return true;
    }
    if (hasKey) {
        const CLine& key = last;
        if (!edit.m_value) {
            splice = {key.m_begin, key.m_next - key.m_begin, {}};
            return true;
        }
        // The file's blanks after '=' are kept, unless the new value brings
        // its own: then the whole value side is replaced, or every write of
        // such a value would add blanks.
        const std::basic_string<C>& value = *edit.m_value;
        size_t valueBegin = !value.empty() && IsBlank(value.front())
                                ? text.find(C('='), key.m_begin) + 1
                                : reader.ValueBegin(key);
        if (text.compare(valueBegin, key.m_end - valueBegin, value) == 0)
            return false;
        splice = {valueBegin, key.m_end - valueBegin, value};
        return true;
    }
    if (!edit.m_value)
        return false;
    splice = {last.m_next, 0, last.HasTerminator() ? std::basic_string<C>() : reader.Eol()};
    splice.m_insert += *edit.m_key + C('=') + *edit.m_value + reader.Eol();
    return true;
}

template bool EditProfileText<char>(const std::string&, const CProfileEdit<char>&,
                                    CProfileSplice<char>&);
template bool EditProfileText<char16_t>(const std::u16string&, const CProfileEdit<char16_t>&,
                                        CProfileSplice<char16_t>&);

} // namespace profile
