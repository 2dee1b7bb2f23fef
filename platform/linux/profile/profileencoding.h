// The byte encodings a profile file may use, and the conversion of the
// caller's wide strings into the code units of each.
#pragma once

#include "platform/wintypes.h"

#include <string>
#include <string_view>

namespace profile {

enum class EProfileEncoding {
    Plain,   // no byte order mark: edited as raw bytes, so invalid UTF-8 survives
    Utf8Bom, // UTF-8 behind EF BB BF
    Utf16LE, // UTF-16 behind FF FE
    Utf16BE, // UTF-16 behind FE FF
};

// A file's content split into its encoding and its code units; the byte order
// mark itself is not part of the units.
struct CProfileText {
    EProfileEncoding m_encoding = EProfileEncoding::Plain;
    std::string m_bytes;    // Plain and Utf8Bom
    std::u16string m_units; // Utf16LE and Utf16BE
    // A UTF-16 file of an odd length: its last byte, which Windows' readers
    // take as the low half of one more unit, the last of m_units.
    std::string m_oddByte;
};

inline bool IsUtf16(EProfileEncoding encoding) {
    return encoding == EProfileEncoding::Utf16LE || encoding == EProfileEncoding::Utf16BE;
}

// Takes raw by value so a caller done with it can move a large file through
// without a copy.
DWORD DecodeProfileText(std::string raw, CProfileText& text);

// The bytes a file of this encoding starts with; empty for Plain.
std::string_view ByteOrderMark(EProfileEncoding encoding);

// UTF-16 units as bytes in the byte order of encoding (Utf16LE or Utf16BE).
std::string EncodeUtf16(std::u16string_view units, EProfileEncoding encoding);

// wchar_t holds UTF-32 here; a value that is no Unicode scalar value fails.
bool WideToUtf8(const wchar_t* wide, std::string& out);
bool WideToUtf16(const wchar_t* wide, std::u16string& out);

// The other way, for what a reader hands back: a byte that is not part of
// valid UTF-8 reads as U+FFFD, a lone surrogate as itself.
std::wstring UnitsToWide(std::string_view utf8);
std::wstring UnitsToWide(std::u16string_view utf16);

} // namespace profile
