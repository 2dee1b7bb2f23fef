// The language of the program's texts on Linux, chosen from the locale as
// Windows chooses it from the user's UI language.
#pragma once

#include "platform/wintypes.h"

// A language as MAKELANGID makes it: sublanguage << 10 | primary language.
typedef WORD LANGID;
inline constexpr LANGID kLanguageChinese = 0x0804; // Chinese (PRC)
inline constexpr LANGID kLanguageEnglish = 0x0409; // English (United States)

// The language for a locale given as the first non-empty of LC_ALL,
// LC_MESSAGES and LANG (null counts as empty): Chinese for zh*, C, C.*,
// POSIX or no locale at all, which is how the program started out; English
// for every other.
LANGID LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);

// LanguageFromLocale of the process's environment. Read at each call, which
// costs three lookups; the program never changes its locale, so its windows
// and messages all speak one language.
LANGID GetThreadUILanguage();
