// The constants a resource script takes from the Windows SDK headers, which
// the converter does not read: window, dialog and control styles, the
// standard dialog ids, the resource type numbers and the languages.
#pragma once

#include <cstdint>
#include <string>

namespace rc {

bool LookupWindowsConstant(const std::string& name, int64_t* value);

} // namespace rc
