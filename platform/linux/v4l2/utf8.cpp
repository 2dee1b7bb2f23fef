// UTF-8 to wchar_t. A malformed name is refused rather than repaired, so the
// caller can fall back to a name that is known to be good.
#include "platform/linux/v4l2/utf8.h"

#include <cstdint>

namespace {

// Sequence length announced by a lead byte and the payload bits it carries;
// 0 for a byte that cannot start a sequence.
int LeadLength(uint8_t lead, uint32_t* bits) {
    if (lead < 0x80) {
        *bits = lead;
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        *bits = lead & 0x1Fu;
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        *bits = lead & 0x0Fu;
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        *bits = lead & 0x07u;
        return 4;
    }
    return 0;
}

} // namespace

bool DecodeUtf8(const std::string& bytes, std::wstring* text) {
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    std::wstring out;
    size_t i = 0;
    while (i < bytes.size()) {
        uint32_t code;
        const int length = LeadLength(static_cast<uint8_t>(bytes[i]), &code);
        if (length == 0 || bytes.size() - i < static_cast<size_t>(length)) {
            text->clear();
            return false;
        }
        for (int k = 1; k < length; ++k) {
            const uint8_t next = static_cast<uint8_t>(bytes[i + k]);
            if ((next & 0xC0u) != 0x80u) {
                text->clear();
                return false;
            }
            code = (code << 6) | (next & 0x3Fu);
        }
        if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            text->clear();
            return false;
        }
        out.push_back(static_cast<wchar_t>(code));
        i += static_cast<size_t>(length);
    }
    *text = std::move(out);
    return true;
}
