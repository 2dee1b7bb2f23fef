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
        text.m_encoding = le ? EProfileEncoding::Utf16LE : EProfileEncoding::Utf16BE;
        DecodeUtf16(raw, 2, be, text.m_units);
        if (raw.size() % 2 != 0) {
            text.m_oddByte = raw.substr(raw.size() - 1);
            text.m_units.push_back(static_cast<unsigned char>(text.m_oddByte[0]));
        }
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

std::wstring UnitsToWide(std::string_view utf8) {
    std::wstring out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
        uint32_t cp = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = lead < 0x80 || (lead >= 0xC2 && lead <= 0xF4);
        for (size_t k = 1; valid && k < length; ++k) {
            const auto next = i + k < utf8.size() ? static_cast<unsigned char>(utf8[i + k]) : 0;
            valid = (next & 0xC0) == 0x80;
            cp = cp << 6 | (next & 0x3F);
        }
        // Overlong forms and surrogates are as invalid as a stray byte.
        static const uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (valid && cp >= kSmallest[length] && IsScalarValue(cp)) {
            out.push_back(static_cast<wchar_t>(cp));
            i += length;
        } else {
            out.push_back(L'\xFFFD');
            ++i;
        }
    }
    return out;
}

std::wstring UnitsToWide(std::u16string_view utf16) {
    std::wstring out;
    out.reserve(utf16.size());
    for (size_t i = 0; i < utf16.size(); ++i) {
        const char16_t unit = utf16[i];
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < utf16.size() && utf16[i + 1] >= 0xDC00 &&
            utf16[i + 1] < 0xE000) {
            out.push_back(
                static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (utf16[i + 1] - 0xDC00)));
            ++i;
        } else {
            out.push_back(static_cast<wchar_t>(unit));
        }
    }
    return out;
}

} // namespace profile
