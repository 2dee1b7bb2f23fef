// What the converter takes from a resource script: the dialog templates,
// string table, icons and version strings the Linux build needs, each in the
// language the script gives it, with the places they came from, and the
// diagnostic it reports when the script is wrong.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace rc {

struct Location {
    std::string file;
    int line = 0;
};

struct Diagnostic {
    Location where;
    std::string message;

    // "file:line: error: message", the form compilers and IDEs recognise.
    std::string Format() const;
};

struct ControlDef {
    int id = 0;
    std::string className; // "BUTTON", "COMBOBOX", "STATIC", "EDIT",
                           // "msctls_trackbar32", "SysTabControl32"
    std::u32string text;
    int x = 0, y = 0, cx = 0, cy = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    Location where;
};

// A language as MAKELANGID makes it: sublanguage << 10 | primary language.
// Resources before any LANGUAGE statement are English (United States), as
// the Windows resource compilers assume.
inline constexpr uint16_t kDefaultLanguage = 0x0409;

struct DialogDef {
    int id = 0;
    uint16_t language = kDefaultLanguage;
    std::u32string caption;
    int x = 0, y = 0, cx = 0, cy = 0;
    uint32_t style = 0;
    uint32_t exStyle = 0;
    std::u32string fontName;
    int pointSize = 0;
    int weight = 0;
    bool italic = false;
    int charset = 1; // DEFAULT_CHARSET
    std::vector<ControlDef> controls;
};

struct StringDef {
    unsigned id = 0;
    uint16_t language = kDefaultLanguage;
    std::u32string text;
};

struct IconDef {
    int id = 0;
    std::string file;
    std::vector<uint8_t> bytes;
};

// A value of the version record's StringFileInfo, in the language its block
// names ("040904b0": 0x0409).
struct VersionStringDef {
    uint16_t language = kDefaultLanguage;
    std::u32string name;
    std::u32string value;
};

struct Script {
    std::vector<DialogDef> dialogs;
    std::vector<StringDef> strings;
    std::vector<IconDef> icons;
    std::vector<VersionStringDef> versionStrings;
    std::vector<std::string> inputs; // every file read, for the build's dependency list
};

} // namespace rc
