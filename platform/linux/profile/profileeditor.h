// The line-preserving profile editor: old text plus one request gives the new
// text, touching only the lines the request has to change. It works on code
// units (bytes for UTF-8 files, char16_t for UTF-16 ones) and compares names
// case-insensitively in ASCII only, as Windows' readers do, so bytes it does
// not understand pass through unchanged.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile {

// The characters Windows' readers trim around names and values: space, tab,
// vertical tab, form feed and Ctrl-Z (CR and LF end the line first).
template <class TChar> bool IsProfileBlank(TChar c) {
    return c == TChar(' ') || c == TChar('\t') || c == TChar('\v') || c == TChar('\f') ||
           c == TChar(0x1A);
}

// Around the names a caller asks a reader for, CR and LF are blanks too; in
// the file they end the line before any trimming.
template <class TChar> bool IsQueryBlank(TChar c) {
    return IsProfileBlank(c) || c == TChar('\r') || c == TChar('\n');
}

// Names arrive trimmed of those blanks for a write; a removal's names are
// taken as given.
template <class TChar> struct CProfileEdit {
    std::basic_string<TChar> m_section;
    std::optional<std::basic_string<TChar>> m_key;   // none: remove the section
    std::optional<std::basic_string<TChar>> m_value; // none: remove the key
};

// The one change a request makes: replace m_erase units at m_offset with
// m_insert. The text itself is not copied, so a large file is written out
// as head, insert and tail straight from the buffer it was read into.
template <class TChar> struct CProfileSplice {
    size_t m_offset = 0;
    size_t m_erase = 0;
    std::basic_string<TChar> m_insert;
};

// Returns true and sets splice when the request changes the text; returns
// false, leaving splice alone, when the text already says what was asked.
template <class TChar>
bool EditProfileText(const std::basic_string<TChar>& text, const CProfileEdit<TChar>& edit,
                     CProfileSplice<TChar>& splice);

extern template bool EditProfileText<char>(const std::string&, const CProfileEdit<char>&,
                                           CProfileSplice<char>&);
extern template bool EditProfileText<char16_t>(const std::u16string&, const CProfileEdit<char16_t>&,
                                               CProfileSplice<char16_t>&);

// What Windows' readers find in a text, by the rules the editor edits it
// with. Names are matched as given; the caller trims them where the reader
// it stands for does. Readers keep names and values as C strings, so a NUL
// ends each of them, after the line was taken apart whole.
template <class TChar> struct CProfileQuery {
    using View = std::basic_string_view<TChar>;
    // The value of the first line holding key in the first section named
    // section, trimmed; false when there is none or that line has no '='.
    // A comment line is found too, named by its text up to the '='.
    static bool Value(const std::basic_string<TChar>& text, View section, View key, View& value);
    // The names of the keys with a value ('=') in the first section named
    // section, in file order; false when there is no such section.
    static bool Keys(const std::basic_string<TChar>& text, View section, std::vector<View>& keys);
    // Every header's name in file order, those with an empty name left out.
    static void Sections(const std::basic_string<TChar>& text, std::vector<View>& sections);
};

extern template struct CProfileQuery<char>;
extern template struct CProfileQuery<char16_t>;

} // namespace profile
