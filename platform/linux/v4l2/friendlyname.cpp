// Friendly-name fallbacks and namesakes: a name the user cannot read is
// worse than the node path, so each candidate must decode before it is used,
// and two cameras of one model must not look the same in the list.
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

void TellNamesakesApart(std::vector<CNodeInfo>* nodes) {
    std::vector<std::wstring> buses(nodes->size());
    for (size_t i = 0; i < nodes->size(); ++i)
        if (!Usable((*nodes)[i].busInfo, &buses[i]))
            buses[i].clear();

    // Decided on the names as the driver gave them, so a suffix given to one
    // node cannot change whether another counts as a namesake.
    std::vector<std::wstring> names(nodes->size());
    for (size_t i = 0; i < nodes->size(); ++i) {
        const CNodeInfo& node = (*nodes)[i];
        bool shared = false;
        // Compared as shown, so bus infos that print alike count as one.
        bool busTellsApart = !buses[i].empty();
        for (size_t j = 0; j < nodes->size(); ++j) {
            if (j == i || (*nodes)[j].friendlyName != node.friendlyName)
                continue;
            shared = true;
            if (buses[j] == buses[i])
                busTellsApart = false;
        }
        names[i] = node.friendlyName;
        if (!shared)
            continue;
        // The bus info is kept wherever it works, even when a namesake needs
        // the path: it names the port, which survives a reboot, while node
        // numbers follow the order the drivers happened to load in. Two nodes
        // of one device (or a node listed without being opened) have nothing
        // but the path between them, and paths are unique.
        const std::wstring detail =
            busTellsApart ? buses[i] : std::wstring(node.path.begin(), node.path.end());
        names[i] += L" (" + detail + L")";
    }
    for (size_t i = 0; i < nodes->size(); ++i) {
        (*nodes)[i].plainName = (*nodes)[i].friendlyName;
        (*nodes)[i].friendlyName = std::move(names[i]);
    }
}
