// The profile read behind GetPrivateProfileStringW: the file the writer
// would edit, decoded as the writer decodes it and searched by the editor's
// own rules.
#pragma once

#include "platform/wintypes.h"

#include <string>
#include <vector>

namespace profile {

// What one read finds, before it is fitted into the caller's buffer.
struct CProfileAnswer {
    bool m_fileExists = false;
    bool m_found = false;              // the value, or the section with m_names
    std::wstring m_value;              // with a key
    std::vector<std::wstring> m_names; // without a key (key names) or section (section names)
};

// A null section asks for the section names, a null key for the key names
// of that section. Names are trimmed for a value (of CR and LF too), as the
// readers do, and taken as given for a section's key names. A missing file
// is an empty one, and an empty file has no sections, not even the nameless
// one at the top.
DWORD ReadProfile(LPCWSTR section, LPCWSTR key, LPCWSTR path, size_t maxFileSize,
                  CProfileAnswer& answer);

} // namespace profile
