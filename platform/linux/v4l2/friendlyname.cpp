// Friendly-name fallbacks: a name the user cannot read is worse than the
// node path, so each candidate must decode before it is used.
#include "platform/linux/v4l2/friendlyname.h"

#include "platform/linux/v4l2/utf8.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::string TrimTrailing(const std::string& text) {
    size_t length = text.size();
    while (length > 0 && IsBlank(text[length - 1]))
        --length;
    return text.substr(0, length);
}

bool Usable(const std::string& bytes, std::wstring* name) {
    const std::string trimmed = TrimTrailing(bytes);
    return !trimmed.empty() && trimmed.find('\0') == std::string::npos && DecodeUtf8(trimmed, name);
}

} // namespace

std::wstring ChooseFriendlyName(const std::string& card, const std::string& sysfsName,
                                const std::string& path) {
    std::wstring name;
    if (Usable(card, &name) || Usable(sysfsName, &name) || Usable(path, &name))
        return name;
    return std::wstring(path.begin(), path.end());
}
