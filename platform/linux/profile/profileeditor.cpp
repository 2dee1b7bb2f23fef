// Line classification and the update rules of the profile format, done as
// splices on the original text so untouched bytes cannot change. Sections
// and keys are found by the rules Windows' readers use, so a value written
// here is the value they read. Lines are never stored, and only the lines
// that must be are classified: the search for a section jumps between hits
// of its name and looks at the line around each, and only the body of the
// section found is read line by line.
#include "platform/linux/profile/profileeditor.h"

#include <string>
#include <string_view>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Readers hold names and values as C strings: a NUL ends them.
template <class C> View<C> UpToNul(View<C> s) {
    return s.substr(0, s.find(C(0)));
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

// A unit to look for, in either ASCII case for a letter: a unit u matches
// when (u | m_fold) == m_unit.
template <class C> struct CUnitPattern {
    explicit CUnitPattern(C c)
        : m_unit(AsciiLower(c)),
          m_fold(AsciiLower(c) >= C('a') && AsciiLower(c) <= C('z') ? 0x20 : 0) {}
    bool Matches(C u) const { return C(u | m_fold) == m_unit; }
    C m_unit;
    C m_fold;
};

// Calls visit with each position at or after from where first matches and
// last matches gap units further on, in order, until visit returns true;
// returns that position, or size. Where SSE2 is there, 16 bytes are compared
// at a time, 64 tested together, and only the hits are visited, so a large
// file costs about what reading it does.
template <class C, class F>
size_t FindEach(const C* text, size_t size, size_t from, CUnitPattern<C> first,
                CUnitPattern<C> last, size_t gap, F visit) {
    size_t at = from;
#if defined(__SSE2__)
    constexpr size_t kBlock = 16 / sizeof(C);
    auto fill = [](C c) {
        return sizeof(C) == 1 ? _mm_set1_epi8(char(c)) : _mm_set1_epi16(short(c));
    };
    const __m128i firstUnit = fill(first.m_unit), firstFold = fill(first.m_fold);
    const __m128i lastUnit = fill(last.m_unit), lastFold = fill(last.m_fold);
    auto equal = [](const C* units, __m128i fold, __m128i unit) {
        const __m128i block =
            _mm_or_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(units)), fold);
        return sizeof(C) == 1 ? _mm_cmpeq_epi8(block, unit) : _mm_cmpeq_epi16(block, unit);
    };
    auto hits = [&](size_t pos) {
        return _mm_and_si128(equal(text + pos, firstFold, firstUnit),
                             equal(text + pos + gap, lastFold, lastUnit));
    };
    // Visits the hits of the block at pos.
    size_t hit = size;
    auto visitBlock = [&](size_t pos) {
        // One bit per byte; a 16-bit unit keeps the lower bit of its two.
        unsigned mask =
            unsigned(_mm_movemask_epi8(hits(pos))) & (sizeof(C) == 1 ? 0xFFFFu : 0x5555u);
        for (; mask != 0; mask &= mask - 1) {
            hit = pos + size_t(__builtin_ctz(mask)) / sizeof(C);
            if (visit(hit))
                return true;
        }
        return false;
    };
    // Most runs of four blocks hold no hit at all.
    for (; at + gap + 4 * kBlock <= size; at += 4 * kBlock) {
        const __m128i any =
            _mm_or_si128(_mm_or_si128(hits(at), hits(at + kBlock)),
                         _mm_or_si128(hits(at + 2 * kBlock), hits(at + 3 * kBlock)));
        if (_mm_movemask_epi8(any) == 0)
            continue;
        for (size_t block = 0; block < 4; ++block) {
            if (visitBlock(at + block * kBlock))
                return hit;
        }
    }
    for (; at + gap + kBlock <= size; at += kBlock) {
        if (visitBlock(at))
            return hit;
    }
#endif
    for (; at + gap < size; ++at) {
        if (first.Matches(text[at]) && last.Matches(text[at + gap]) && visit(at))
            return at;
    }
    return size;
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
    // It is trimmed before a NUL ends it: "[ A \0B]" is the section "A ".
    View<C> SectionName(const CLine& line) const {
        View<C> content = TrimBlanks(Content(line));
        return UpToNul(TrimBlanks(content.substr(1, content.rfind(C(']')) - 1)));
    }

    // What comes before the first '=', trimmed, NULs and all.
    View<C> KeyField(const CLine& line) const {
        View<C> content = Content(line);
        return TrimBlanks(content.substr(0, content.find(C('='))));
    }

    View<C> KeyName(const CLine& line) const { return UpToNul(KeyField(line)); }

    bool HasEquals(const CLine& line) const { return Content(line).find(C('=')) != View<C>::npos; }

    // The value as readers see it: blanks trimmed on both sides, up to a NUL.
    View<C> Value(const CLine& line) const {
        const size_t begin = ValueBegin(line);
        return UpToNul(TrimBlanks(View<C>(m_text).substr(begin, line.m_end - begin)));
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
        CSection candidate;
        if (!m_startedTop) {
            m_startedTop = true;
            if (name.empty()) {
                ScanBody(key, candidate, hasKey);
                section = candidate;
                return true;
            }
        }
        CLine header;
        if (!FindHeader(name, header)) {
            m_pos = m_text.size();
            return false;
        }
        candidate.m_hasHeader = true;
        candidate.m_header = header;
        candidate.m_begin = header.m_begin;
        candidate.m_body = header.m_next;
        ScanBody(key, candidate, hasKey);
        section = candidate;
        return true;
    }

private:
    void ScanBody(const std::basic_string<C>* key, CSection& section, bool& hasKey) {
        size_t pos = section.m_body;
        while (pos < m_text.size()) {
            CLine line = m_reader.At(pos);
            if (line.m_kind == ELineKind::Section)
                break;
            pos = line.m_next;
            if (line.m_kind == ELineKind::Blank)
                continue;
            const bool named = key && NamesEqual(m_reader.KeyName(line), View<C>(*key));
            // Readers find a comment by its text as a key name (no writer
            // asks for one); a new key still goes behind the last real key.
            if (line.m_kind == ELineKind::Comment && !named)
                continue;
            section.m_hasKey = true;
            section.m_lastKey = line;
            if (named) {
                hasKey = true;
                break;
            }
        }
        // The header that ended the body must still be seen by the next call.
        section.m_end = m_pos = pos;
    }

    // Only headers matter between sections. The search looks for the name
    // itself, its first and last characters at once, and checks the line
    // around each hit; a nameless header is found by its '['.
    bool FindHeader(View<C> name, CLine& header) const {
        // A header's name is trimmed and lies within one line; it ends in a
        // blank only where a NUL cut it short.
        if (!name.empty() &&
            (IsProfileBlank(name.front()) || name.find_first_of(kLineBreaks) != View<C>::npos))
            return false;
        const bool blanksMayFollow = name.empty() || !IsProfileBlank(name.back());
        const C* const text = m_text.data();
        const size_t size = m_text.size();
        size_t start = 0;
        auto isHeader = [&](size_t at) {
            size_t open = at;
            if (!name.empty()) {
                if (!NameAt(at, name))
                    return false;
                while (open > 0 && IsProfileBlank(text[open - 1]))
                    --open;
                if (open == 0 || text[--open] != C('['))
                    return false;
            }
            start = open;
            while (start > 0 && IsProfileBlank(text[start - 1]))
                --start;
            if (start > 0 && text[start - 1] != C('\n') && text[start - 1] != C('\r'))
                return false;
            size_t end = at + name.size();
            if (name.empty()) {
                for (end = open + 1; end < size && IsProfileBlank(text[end]);)
                    ++end;
            }
            return EndsHeaderName(end, blanksMayFollow);
        };
        const CUnitPattern<C> first(name.empty() ? C('[') : name.front());
        const CUnitPattern<C> last(name.empty() ? C('[') : name.back());
        const size_t gap = name.empty() ? 0 : name.size() - 1;
        if (FindEach(text, size, m_pos, first, last, gap, isHeader) == size)
            return false;
        header = m_reader.At(start);
        return true;
    }

    bool NameAt(size_t at, View<C> name) const {
        for (size_t i = 0; i < name.size(); ++i) {
            if (AsciiLower(m_text[at + i]) != AsciiLower(name[i]))
                return false;
        }
        return true;
    }

    // Whether a header's name ends at at: where a NUL is, provided a ']'
    // follows on the line; else, when blanks may follow the name, where only
    // they come up to a ']' that is the line's last.
    bool EndsHeaderName(size_t at, bool blanksMayFollow) const {
        const C* const text = m_text.data();
        const size_t size = m_text.size();
        auto inLine = [&](size_t i) {
            return i < size && text[i] != C('\n') && text[i] != C('\r');
        };
        if (inLine(at) && text[at] == C(0)) {
            while (inLine(++at)) {
                if (text[at] == C(']'))
                    return true;
            }
            return false;
        }
        while (blanksMayFollow && at < size && IsProfileBlank(text[at]))
            ++at;
        if (!inLine(at) || text[at] != C(']'))
            return false;
        while (inLine(++at)) {
            if (text[at] == C(']'))
                return false;
        }
        return true;
    }

    static constexpr C kLineBreaks[] = {C('\r'), C('\n'), C(0)};

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
    // "=1" and "=2" on consecutive lines only the first is listed. The name
    // a NUL emptied ("\0k=1") is kept, and counts as empty for the next.
    bool afterEmptyName = false;
    for (size_t pos = found.m_body; pos < found.m_end;) {
        const CLine line = reader.At(pos);
        pos = line.m_next;
        if (line.m_kind == ELineKind::Comment)
            afterEmptyName = false;
        if (line.m_kind != ELineKind::Key)
            continue;
        const View name = reader.KeyName(line);
        if (reader.KeyField(line).empty() && afterEmptyName)
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
