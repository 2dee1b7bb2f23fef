// Reads a resource script into the tables the Linux build needs: dialog
// templates with their short forms expanded, the string table and icons.
// Version records, manifests and other resources are checked for balance and
// otherwise skipped: only Windows uses them.
#pragma once

#include "model.h"
#include "preprocessor.h"

#include <string>

namespace rc {

bool ParseScript(const std::string& path, const FileReader& read, Script* script,
                 Diagnostic* error);

} // namespace rc
