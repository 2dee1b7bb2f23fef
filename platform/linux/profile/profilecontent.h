// The edit of one request in the file's own encoding, and the new file as
// pieces of the old bytes around the change.
#pragma once

#include "platform/linux/profile/profileeditor.h"
#include "platform/linux/profile/profileencoding.h"
#include "platform/wintypes.h"

#include <string>
#include <string_view>
#include <vector>

namespace profile {

// A file of UTF-8 or raw bytes is written straight from the buffer it was
// read into; a UTF-16 one is encoded back piece by piece. The pieces point
// into text, which must outlive them.
class CNewContent {
public:
    // Names arrive trimmed; a null key or value removes, as in the API.
    DWORD Edit(const CProfileText& text, LPCWSTR section, LPCWSTR key, LPCWSTR value,
               bool& changed);

    const std::vector<std::string_view>& Pieces() const { return m_pieces; }

private:
    CProfileSplice<char> m_splice;
    std::string m_encoded[3];
    std::vector<std::string_view> m_pieces;
};

} // namespace profile
