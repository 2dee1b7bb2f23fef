// The locale's language, from the variables the C library reads for
// messages, in the order it reads them.
#include "platform/linux/uilanguage.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

LANGID LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    const char* locale = nullptr;
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value != nullptr && value[0] != '\0') {
            locale = value;
            break;
        }
    }
    if (locale == nullptr || std::strncmp(locale, "zh", 2) == 0 || std::strcmp(locale, "C") == 0 ||
        std::strncmp(locale, "C.", 2) == 0 || std::strcmp(locale, "POSIX") == 0)
        return kLanguageChinese;
    return kLanguageEnglish;
}

LANGID GetThreadUILanguage() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"),
                              std::getenv("LANG"));
}
