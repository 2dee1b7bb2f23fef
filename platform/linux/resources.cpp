// Lookups in the tables the resource converter generates, by id and language.
#include "platform/linux/resources.h"

#include <cwchar>

namespace {

// The entry of table (up to the entry end finds) that matches and is in
// language, else the first that matches: the resource in the script's first
// language for it.
template <class Entry, class Matches, class End>
const Entry* FindInLanguage(const Entry* table, LANGID language, Matches matches, End end) {
    const Entry* first = nullptr;
    for (const Entry* e = table; !end(*e); ++e) {
        if (!matches(*e))
            continue;
        if (e->language == language)
            return e;
        if (first == nullptr)
            first = e;
    }
    return first;
}

} // namespace

const DialogTemplate* FindDialogTemplate(int id, LANGID language) {
    return FindInLanguage(
        ScriptResources().dialogs, language, [id](const DialogTemplate& d) { return d.id == id; },
        [](const DialogTemplate& d) { return d.caption == nullptr; });
}

const DialogTemplate* FindDialogTemplate(int id) {
    return FindDialogTemplate(id, GetThreadUILanguage());
}

const wchar_t* FindResourceString(UINT id, LANGID language) {
    const StringResource* found = FindInLanguage(
        ScriptResources().strings, language, [id](const StringResource& s) { return s.id == id; },
        [](const StringResource& s) { return s.text == nullptr; });
    return found != nullptr ? found->text : nullptr;
}

const wchar_t* FindResourceString(UINT id) {
    return FindResourceString(id, GetThreadUILanguage());
}

const BYTE* FindIconGroup(int id, size_t* size) {
    for (const IconResource* i = ScriptResources().icons; i->bytes != nullptr; ++i) {
        if (i->id == id) {
            if (size != nullptr)
                *size = i->size;
            return i->bytes;
        }
    }
    return nullptr;
}

const wchar_t* FindVersionString(const wchar_t* name, LANGID language) {
    const VersionStringResource* found = FindInLanguage(
        ScriptResources().versionStrings, language,
        [name](const VersionStringResource& v) { return std::wcscmp(v.name, name) == 0; },
        [](const VersionStringResource& v) { return v.name == nullptr; });
    return found != nullptr ? found->value : nullptr;
}

const wchar_t* FindVersionString(const wchar_t* name) {
    return FindVersionString(name, GetThreadUILanguage());
}
