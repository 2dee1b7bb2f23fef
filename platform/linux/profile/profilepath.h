// Finding the file a profile path names: backslashes are separators, the
// last component matches an existing name case-insensitively, and symbolic
// links lead to the file they point to.
#pragma once

#include "platform/linux/profile/fd.h"
#include "platform/wintypes.h"

#include <string>

namespace profile {

struct CProfileTarget {
    CFd m_dir;          // the directory that holds, or will hold, the file
    std::string m_name; // the file's name in that directory
};

// The directory part is taken as given. Of several names that differ only in
// ASCII case, the exact one wins, else the byte-wise smallest. A dangling
// link resolves to the missing file it points to, which the write creates.
DWORD ResolveProfilePath(const std::string& path, CProfileTarget& target);

} // namespace profile
