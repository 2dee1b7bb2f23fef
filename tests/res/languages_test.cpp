// The program's two languages: which one a locale chooses, that the script
// gives every dialog and string in both, and which copy a lookup finds.
#include "platform/linux/resources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <sstream>
#include <string>
#include <tuple>
#include <utility>

namespace {

// "LC_ALL|LC_MESSAGES|LANG", "-" for a variable not set.
TEST(LocaleLanguage, FirstNonEmptyOfLcAllLcMessagesLangDecides) {
    const LANGID zh = kLanguageChinese, en = kLanguageEnglish;
    const std::pair<std::string, LANGID> cases[] = {
        {"-|-|-", zh},        {"||", zh},           {"||C", zh},           {"||C.UTF-8", zh},
        {"||POSIX", zh},      {"||zh_TW.Big5", zh}, {"||en_US.UTF-8", en}, {"||ca_ES", en},
        {"||CA", en},         {"||zu_ZA", en},      {"en_GB|zh|zh", en},   {"C|en_US|en_US", zh},
        {"|en_US|zh_CN", en}, {"-|zh_SG|de", zh}};
    for (const auto& [locale, expected] : cases) {
        std::string v[3];
        std::istringstream in(locale);
        for (std::string& each : v)
            std::getline(in, each, '|');
        auto arg = [](const std::string& each) { return each == "-" ? nullptr : each.c_str(); };
        EXPECT_EQ(expected, LanguageFromLocale(arg(v[0]), arg(v[1]), arg(v[2]))) << locale;
    }
}

// A dialog or string needs an English copy: the same controls, ids, classes
// and styles in the same order, texts (no CJK, from U+2E80) and places of its own.
TEST(ScriptLanguages, EveryChineseDialogAndStringHasAnEnglishCopy) {
    auto IsTranslated = [](const wchar_t* t) {
        return std::none_of(t, t + std::wcslen(t), [](wchar_t c) { return c >= 0x2E80; });
    };
    for (const DialogTemplate* zh = ScriptResources().dialogs; zh->caption; ++zh) {
        const DialogTemplate* en = FindDialogTemplate(zh->id, kLanguageEnglish);
        if (zh->language != kLanguageChinese)
            continue;
        ASSERT_EQ(kLanguageEnglish, en->language) << "no English dialog " << zh->id;
        EXPECT_TRUE(IsTranslated(en->caption)) << zh->id;
        ASSERT_EQ(std::make_pair(zh->style, zh->itemCount),
                  std::make_pair(en->style, en->itemCount));
        for (size_t i = 0; i < zh->itemCount; ++i) {
            const DialogItemTemplate &a = zh->items[i], &b = en->items[i];
            EXPECT_EQ(std::make_tuple(a.id, std::string(a.className), a.style, a.exStyle),
                      std::make_tuple(b.id, std::string(b.className), b.style, b.exStyle));
            EXPECT_TRUE(IsTranslated(b.text)) << zh->id << " item " << i;
        }
    }
    for (const StringResource* zh = ScriptResources().strings; zh->text; ++zh) {
        const wchar_t* en = FindResourceString(zh->id, kLanguageEnglish);
        if (zh->language == kLanguageChinese) {
            EXPECT_TRUE(en != zh->text && IsTranslated(en)) << "string " << zh->id;
        }
    }
}

// A language the script lacks gets its first: Chinese.
TEST(ScriptLanguages, OtherLanguagesGetChinese) {
    EXPECT_EQ(kLanguageChinese, FindDialogTemplate(IDD_MAIN_DIALOG, 0x0407)->language);
}

} // namespace
