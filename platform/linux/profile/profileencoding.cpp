// Byte order marks, UTF-16 byte order, and UTF-32 to UTF-8/UTF-16.
#include "platform/linux/profile/profileencoding.h"

#include <utility>

namespace profile {

namespace {

const char kUtf8Bom[] = "\xEF\xBB\xBF";
const char kUtf16LEBom[] = "\xFF\xFE";
const char kUtf16BEBom[] = "\xFE\xFF";

bool StartsWith(const std::string& raw, const char* prefix, size_t length) {
    return raw.size() >= length && raw.compare(0, length, prefix, length) == 0;
}

bool IsScalarValue(uint32_t cp) {
    return cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

void DecodeUtf16(const std::string& raw, size_t offset, bool bigEndian, std::u16string& units) {
    units.resize((raw.size() - offset) / 2);
    for (size_t i = 0; i < units.size(); ++i) {
        auto first = static_cast<unsigned char>(raw[offset + 2 * i]);
        auto second = static_cast<unsigned char>(raw[offset + 2 * i + 1]);
        units[i] = bigEndian ? char16_t(first << 8 | second) : char16_t(second << 8 | first);
    }
}

} // namespace

DWORD DecodeProfileText(std::string raw, CProfileText& text) {
    text = CProfileText();
    bool le = StartsWith(raw, kUtf16LEBom, 2);
    bool be = StartsWith(raw, kUtf16BEBom, 2);
    if (le || be) {
        if (raw.size() % 2 != 0)
            return ERROR_INVALID_DATA;
        text.m_encoding = le ? EProfileEncoding::Utf16LE : EProfileEncoding::Utf16BE;
        DecodeUtf16(raw, 2, be, text.m_units);
    } else if (StartsWith(raw, kUtf8Bom, 3)) {
        text.m_encoding = EProfileEncoding::Utf8Bom;
        raw.erase(0, 3);
        text.m_bytes = std::move(raw);
    } else {
        text.m_bytes = std::move(raw);
    }
    return ERROR_SUCCESS;
}

std::string_view ByteOrderMark(EProfileEncoding encoding) {
    switch (encoding) {
    case EProfileEncoding::Utf8Bom:
        return std::string_view(kUtf8Bom, 3);
    case EProfileEncoding::Utf16LE:
        return std::string_view(kUtf16LEBom, 2);
    case EProfileEncoding::Utf16BE:
        return std::string_view(kUtf16BEBom, 2);
    case EProfileEncoding::Plain:
        break;
    }
    return std::string_view();
}

std::string EncodeUtf16(std::u16string_view units, EProfileEncoding encoding) {
    const bool bigEndian = encoding == EProfileEncoding::Utf16BE;
    std::string raw;
    raw.reserve(2 * units.size());
    for (char16_t unit : units) {
        char high = static_cast<char>(unit >> 8);
        char low = static_cast<char>(unit & 0xFF);
        raw.push_back(bigEndian ? high : low);
        raw.push_back(bigEndian ? low : high);
    }
    return raw;
}

bool WideToUtf8(const wchar_t* wide, std::string& out) {
    out.clear();
    for (; *wide; ++wide) {
        auto cp = static_cast<uint32_t>(*wide);
        if (!IsScalarValue(cp))
            return false;
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | cp >> 6));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | cp >> 12));
            out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | cp >> 18));
            out.push_back(static_cast<char>(0x80 | (cp >> 12 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp >> 6 & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return true;
}

bool WideToUtf16(const wchar_t* wide, std::u16string& out) {
    out.clear();
    for (; *wide; ++wide) {
        auto cp = static_cast<uint32_t>(*wide);
        if (!IsScalarValue(cp))
            return false;
        if (cp < 0x10000) {
            out.push_back(static_cast<char16_t>(cp));
        } else {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 | cp >> 10));
            out.push_back(static_cast<char16_t>(0xDC00 | (cp & 0x3FF)));
        }
    }
    return true;
}

} // namespace profile
