// Value spelling of the parameter file.
#include "capture/paramfile.h"

#include <cwchar>

namespace paramfile {

std::wstring FormatValue(LONG value) {
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof text[0], L"%d", static_cast<int>(value));
    return text;
}

} // namespace paramfile
