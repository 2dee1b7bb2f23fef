// String decoding. Only UTF-8 scripts may hold text beyond ASCII: in any other
// code page the Windows resource compiler would read the bytes differently
// from this converter, and the two builds would show different texts.
#include "text.h"

#include <cstdio>

namespace rc {
namespace {

bool Fail(Diagnostic* error, const Location& where, std::string message) {
    error->where = where;
    error->message = std::move(message);
    return false;
}

bool Unescape(const Token& t, std::string* bytes, Diagnostic* error) {
    const std::string& s = t.text;
    for (size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (c == '"') {
            ++i; // the lexer only lets a quote through as half of ""
            bytes->push_back('"');
        } else if (c != '\\') {
            bytes->push_back(c);
        } else {
            char e = i + 1 < s.size() ? s[++i] : '\0';
            switch (e) {
            case 'n':
                bytes->push_back('\n');
                break;
            case 't':
                bytes->push_back('\t');
                break;
            case 'r':
                bytes->push_back('\r');
                break;
            case 'a':
                bytes->push_back('\a');
                break;
            case '\\':
                bytes->push_back('\\');
                break;
            default:
                return Fail(error, t.where,
                            std::string("unknown escape sequence '\\") + e +
                                "' (write \"\" for a quote)");
            }
        }
    }
    return true;
}

} // namespace

bool DecodeString(const Token& t, std::u32string* text, Diagnostic* error) {
    std::string bytes;
    if (!Unescape(t, &bytes, error))
        return false;
    text->clear();
    for (size_t i = 0; i < bytes.size();) {
        unsigned char lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80) {
            text->push_back(lead);
            ++i;
            continue;
        }
        if (t.codePage != kUtf8CodePage)
            return Fail(error, t.where, "text beyond ASCII needs #pragma code_page(65001)");
        int length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
        if (lead >= 0xF5)
            length = 0;
        char32_t cp = length == 4 ? lead & 0x07 : length == 3 ? lead & 0x0F : lead & 0x1F;
        bool ok = length != 0 && i + length <= bytes.size();
        for (int k = 1; ok && k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            ok = (next & 0xC0) == 0x80;
            cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        ok = ok && !(length == 3 && cp < 0x800) && !(length == 4 && cp < 0x10000) &&
             !(cp >= 0xD800 && cp <= 0xDFFF) && cp <= 0x10FFFF;
        if (!ok) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "%02X", lead);
            return Fail(error, t.where, std::string("invalid UTF-8 (byte 0x") + hex + ")");
        }
        text->push_back(cp);
        i += static_cast<size_t>(length);
    }
    return true;
}

} // namespace rc

namespace rc {

std::string ToUtf8(const std::u32string& text) {
    std::string out;
    for (char32_t c : text) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (c >> 18)));
            out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

} // namespace rc
