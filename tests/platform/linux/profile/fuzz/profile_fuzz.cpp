// libFuzzer target of the profile writer's decode and edit path: a raw file
// and one request, checked against a reader that follows Windows' rules.
// Input: an operation byte (set, remove a key, remove a section), the
// lengths of section, key and value, those names, then the file's bytes.
#include "platform/linux/profile/profilecontent.h"
#include "platform/linux/profile/profileeditor.h"
#include "platform/linux/profile/profileencoding.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

using profile::IsProfileBlank;

template <class C> using Str = std::basic_string<C>;

// One line as Windows' readers take it apart; section 0 is the nameless
// part before the first header.
template <class C> struct CReadLine {
    Str<C> m_bytes; // the line without its line break
    size_t m_section = 0;
    bool m_isKey = false;
    Str<C> m_name;
    std::optional<Str<C>> m_value;
};

template <class C> Str<C> Trim(const Str<C>& s) {
    size_t b = 0, e = s.size();
    while (b < e && IsProfileBlank(s[b]))
        ++b;
    while (e > b && IsProfileBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

// Readers hold names and values as C strings: a NUL ends them.
template <class C> Str<C> ToNul(const Str<C>& s) {
    return s.substr(0, s.find(C(0)));
}

template <class C> bool SameName(const Str<C>& a, const Str<C>& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](C c) { return c >= C('A') && c <= C('Z') ? C(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

template <class C> struct CReading {
    std::vector<Str<C>> m_sections{Str<C>()};
    std::vector<CReadLine<C>> m_lines;

    explicit CReading(const Str<C>& text) {
        for (size_t pos = 0; pos < text.size();) {
            size_t end = pos;
            while (end < text.size() && text[end] != C('\r') && text[end] != C('\n'))
                ++end;
            size_t next = end;
            if (next < text.size())
                next += text[next] == C('\r') && next + 1 < text.size() && text[next + 1] == C('\n')
                            ? 2
                            : 1;
            CReadLine<C> line;
            line.m_bytes = text.substr(pos, end - pos);
            const Str<C> content = Trim(line.m_bytes);
            pos = next;
            // Empty lines are left out: where a removal brings a lone CR
            // next to an LF the two pair up, which only drops an empty line.
            if (content.empty())
                continue;
            const size_t close = content.rfind(C(']'));
            if (!content.empty() && content[0] == C('[') && close != Str<C>::npos && close > 0) {
                m_sections.push_back(ToNul(Trim(content.substr(1, close - 1))));
            } else if (!content.empty() && content[0] != C(';')) {
                line.m_isKey = true;
                const size_t eq = content.find(C('='));
                line.m_name = ToNul(Trim(content.substr(0, eq)));
                if (eq != Str<C>::npos)
                    line.m_value = ToNul(Trim(content.substr(eq + 1)));
            }
            line.m_section = m_sections.size() - 1;
            m_lines.push_back(line);
        }
    }

    std::optional<size_t> Section(const Str<C>& name) const {
        for (size_t i = 0; i < m_sections.size(); ++i)
            if (SameName(m_sections[i], name))
                return i;
        return std::nullopt;
    }

    // What GetPrivateProfileString finds: the first key of that name in the
    // first section of that name; an empty value for a key without '='.
    std::optional<Str<C>> Lookup(const Str<C>& section, const Str<C>& key) const {
        std::optional<size_t> index = Section(section);
        for (const CReadLine<C>& line : m_lines)
            if (index && line.m_section == *index && line.m_isKey && SameName(line.m_name, key))
                return line.m_value ? *line.m_value : Str<C>();
        return std::nullopt;
    }

    size_t CountKeys(const Str<C>& section, const Str<C>& key) const {
        size_t n = 0;
        for (const CReadLine<C>& line : m_lines)
            n += line.m_isKey && SameName(line.m_name, key) &&
                 SameName(m_sections[line.m_section], section);
        return n;
    }
};

// The file before and after the edit, printed with a broken property.
std::string g_before, g_after;

template <class C> std::string Printable(const Str<C>& units) {
    std::string out;
    for (C c : units) {
        char hex[8];
        if (c >= 0x20 && c < 0x7F && c != '\\')
            out += char(c);
        else
            out += (std::snprintf(hex, sizeof hex, "\\x{%X}", unsigned(c) & 0xFFFF), hex);
    }
    return out;
}

void Check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "property broken: %s\nbefore: %s\nafter:  %s\n", what,
                     g_before.c_str(), g_after.c_str());
        std::abort();
    }
}

std::string Join(const std::vector<std::string_view>& pieces) {
    std::string out;
    for (std::string_view piece : pieces)
        out += piece;
    return out;
}

template <class C> const Str<C>& Units(const profile::CProfileText& text);
template <> const std::string& Units<char>(const profile::CProfileText& text) {
    return text.m_bytes;
}
template <> const std::u16string& Units<char16_t>(const profile::CProfileText& text) {
    return text.m_units;
}

template <class C> Str<C> FromAscii(const std::wstring& s) {
    return Str<C>(s.begin(), s.end());
}

// The properties of one edit of the file's units.
template <class C>
void CheckEdit(const profile::CProfileText& oldText, const std::wstring& section,
               const wchar_t* key, const wchar_t* value) {
    profile::CNewContent content;
    bool changed = false;
    const DWORD edited = content.Edit(oldText, section.c_str(), key, value, changed);
    // An edit that would make a file without a byte order mark start with
    // one is refused; the next decode below shows whether any other got out.
    if (edited == ERROR_INVALID_DATA && oldText.m_encoding == profile::EProfileEncoding::Plain)
        return;
    Check(edited == ERROR_SUCCESS, "edit");
    profile::CProfileText newText;
    Check(profile::DecodeProfileText(changed ? Join(content.Pieces()) : std::string(), newText) ==
              ERROR_SUCCESS,
          "decode the new file");
    const Str<C>& before = Units<C>(oldText);
    const Str<C>& after = changed ? Units<C>(newText) : before;
    Check(!changed || newText.m_encoding == oldText.m_encoding, "encoding kept");

    g_before = Printable(before);
    g_after = Printable(after);
    const CReading<C> old(before), now(after);
    const Str<C> s = FromAscii<C>(section);
    // The reader shares the editor's scanner; before and after the edit it
    // finds what this reader finds (which reads a key without '=' as "").
    if (key) {
        const Str<C> trimmedSection = Trim(s), trimmedKey = Trim(FromAscii<C>(key));
        for (const auto& [reading, units] : {std::pair{&old, &before}, std::pair{&now, &after}}) {
            typename profile::CProfileQuery<C>::View got;
            const bool has =
                profile::CProfileQuery<C>::Value(*units, trimmedSection, trimmedKey, got);
            const std::optional<Str<C>> expected = reading->Lookup(trimmedSection, trimmedKey);
            Check(has ? expected && *expected == Str<C>(got) : !expected || expected->empty(),
                  "the reader finds the value readers find");
        }
    }
    if (key && value) {
        std::optional<Str<C>> found = now.Lookup(s, FromAscii<C>(key));
        Check(found && *found == Trim(FromAscii<C>(value)), "the written value reads back");
        // The same request again changes nothing.
        bool again = true;
        profile::CNewContent repeat;
        Check(repeat.Edit(changed ? newText : oldText, section.c_str(), key, value, again) ==
                  ERROR_SUCCESS,
              "repeat");
        Check(!again, "a repeated write changes no byte");
    } else if (key) {
        const size_t n = old.CountKeys(s, FromAscii<C>(key));
        Check(now.CountKeys(s, FromAscii<C>(key)) == (n ? n - 1 : 0), "one key removed");
    } else {
        size_t n = 0, m = 0;
        for (const Str<C>& name : old.m_sections)
            n += SameName(name, s);
        for (const Str<C>& name : now.m_sections)
            m += SameName(name, s);
        Check(section.empty() || m == (n ? n - 1 : 0), "one section removed");
    }

    // Lines the request does not touch stay byte for byte: outside the
    // common head and tail, at most one old line changed, and a removed
    // section's lines all belong to it. A line break a removal pairs up
    // with another is not counted: the lines' bytes are compared without
    // their breaks.
    size_t head = 0, tail = 0;
    const size_t no = old.m_lines.size(), nn = now.m_lines.size();
    while (head < no && head < nn && old.m_lines[head].m_bytes == now.m_lines[head].m_bytes)
        ++head;
    while (tail < no - head && tail < nn - head &&
           old.m_lines[no - 1 - tail].m_bytes == now.m_lines[nn - 1 - tail].m_bytes)
        ++tail;
    if (key) {
        Check(no - head - tail <= 1, "only the key's line changes");
        return;
    }
    // A removed section leaves a run of k lines out; equal lines around it
    // allow several places for that run, and one of them must hold only
    // lines of the section.
    Check(nn <= no && head + tail >= nn, "a section's removal only removes lines");
    size_t suffix = 0;
    while (suffix < nn &&
           old.m_lines[no - 1 - suffix].m_bytes == now.m_lines[nn - 1 - suffix].m_bytes)
        ++suffix;
    const size_t k = no - nn;
    const std::optional<size_t> removed = old.Section(s);
    bool placed = k == 0;
    for (size_t at = nn - suffix; at <= head && !placed; ++at) {
        placed = true;
        for (size_t i = at; i < at + k; ++i)
            placed = placed && removed && old.m_lines[i].m_section == *removed;
    }
    Check(placed, "only the section's lines are removed");
}

// The writer's own checks before an edit: these requests it refuses or
// answers without reading the file.
bool Acceptable(const std::wstring& section, const std::wstring& key, const std::wstring& value,
                bool hasKey, bool hasValue) {
    if (section.find_first_of(L"\r\n]") != std::wstring::npos || Trim(section) != section)
        return false;
    if (!hasKey)
        return true;
    if (key.find_first_of(L"\r\n=") != std::wstring::npos || Trim(key) != key ||
        (!key.empty() && (key[0] == L';' || key[0] == L'[')))
        return false;
    return !hasValue || value.find_first_of(L"\r\n") == std::wstring::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    const unsigned op = data[0] % 3;
    const size_t lengths[3] = {size_t(data[1] % 16), size_t(data[2] % 16), size_t(data[3] % 16)};
    size_t pos = 4;
    std::wstring names[3];
    for (int i = 0; i < 3; ++i) {
        for (size_t n = 0; n < lengths[i] && pos < size; ++n, ++pos) {
            // Names in ASCII without NUL: a wide string ends at NUL, and the
            // checks compare units directly.
            wchar_t c = wchar_t(data[pos] & 0x7F);
            names[i] += c ? c : L'?';
        }
    }
    const bool hasKey = op != 2, hasValue = op == 0;
    if (!Acceptable(names[0], names[1], names[2], hasKey, hasValue))
        return 0;
    profile::CProfileText text;
    if (profile::DecodeProfileText(
            std::string(reinterpret_cast<const char*>(data) + pos, size - pos), text) !=
        ERROR_SUCCESS)
        return 0;
    const wchar_t* key = hasKey ? names[1].c_str() : nullptr;
    const wchar_t* value = hasValue ? names[2].c_str() : nullptr;
    if (profile::IsUtf16(text.m_encoding))
        CheckEdit<char16_t>(text, names[0], key, value);
    else
        CheckEdit<char>(text, names[0], key, value);
    return 0;
}
