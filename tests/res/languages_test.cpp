// The program's two languages: which one a locale chooses, that the script
// gives every dialog and string in both, and which copy a lookup finds.
#include "platform/linux/resources.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(LocaleLanguage, FirstNonEmptyOfLcAllLcMessagesLangDecides) {
    const struct {
        const char *lcAll, *lcMessages, *lang;
        LANGID expected;
    } cases[] = {
        {nullptr, nullptr, nullptr, kLanguageChinese}, // no locale at all
        {"", "", "", kLanguageChinese},
        {nullptr, nullptr, "C", kLanguageChinese},
        {nullptr, nullptr, "C.UTF-8", kLanguageChinese},
        {nullptr, nullptr, "POSIX", kLanguageChinese},
        {nullptr, nullptr, "zh_CN.UTF-8", kLanguageChinese},
        {nullptr, nullptr, "zh_TW.Big5", kLanguageChinese},
        {nullptr, nullptr, "en_US.UTF-8", kLanguageEnglish},
        {nullptr, nullptr, "de_DE@euro", kLanguageEnglish},
        // Neither C nor Chinese, whatever their first letters.
        {nullptr, nullptr, "ca_ES.UTF-8", kLanguageEnglish},
        {nullptr, nullptr, "zu_ZA", kLanguageEnglish},
        {nullptr, nullptr, "CA", kLanguageEnglish},
        // Each variable overrides those after it, and an empty one is skipped.
        {"en_GB.UTF-8", "zh_CN.UTF-8", "zh_CN.UTF-8", kLanguageEnglish},
        {"C", "en_US.UTF-8", "en_US.UTF-8", kLanguageChinese},
        {"", "en_US.UTF-8", "zh_CN.UTF-8", kLanguageEnglish},
        {"", "", "fr_FR.UTF-8", kLanguageEnglish},
        {nullptr, "zh_SG", "en_US.UTF-8", kLanguageChinese},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, LanguageFromLocale(c.lcAll, c.lcMessages, c.lang))
            << (c.lcAll ? c.lcAll : "(unset)") << " " << (c.lcMessages ? c.lcMessages : "(unset)")
            << " " << (c.lang ? c.lang : "(unset)");
}

bool HasChinese(const wchar_t* text) {
    for (; *text != L'\0'; ++text)
        if (*text >= 0x2E80)
            return true;
    return false;
}

// A new dialog or string needs an English copy: same controls, ids, classes,
// styles and tab order, only texts and places of its own, and no Chinese left.
TEST(ScriptLanguages, EveryChineseDialogAndStringHasAnEnglishCopy) {
    int dialogs = 0, strings = 0;
    for (const DialogTemplate* zh = ScriptResources().dialogs; zh->caption != nullptr; ++zh) {
        if (zh->language != kLanguageChinese)
            continue;
        ++dialogs;
        SCOPED_TRACE("dialog " + std::to_string(zh->id));
        const DialogTemplate* en = FindDialogTemplate(zh->id, kLanguageEnglish);
        ASSERT_NE(nullptr, en);
        ASSERT_EQ(kLanguageEnglish, en->language) << "no English copy";
        EXPECT_FALSE(HasChinese(en->caption));
        EXPECT_EQ(zh->style, en->style);
        EXPECT_EQ(zh->exStyle, en->exStyle);
        ASSERT_EQ(zh->itemCount, en->itemCount);
        for (size_t i = 0; i < zh->itemCount; ++i) {
            const DialogItemTemplate &a = zh->items[i], &b = en->items[i];
            EXPECT_EQ(a.id, b.id) << i;
            EXPECT_STREQ(a.className, b.className) << i;
            EXPECT_EQ(a.style, b.style) << i;
            EXPECT_EQ(a.exStyle, b.exStyle) << i;
            EXPECT_FALSE(HasChinese(b.text)) << i;
            if (a.text[0] == L'#') { // an icon picture names the same icon
                EXPECT_EQ(std::wstring(a.text), b.text) << i;
            }
        }
    }
    for (const StringResource* zh = ScriptResources().strings; zh->text != nullptr; ++zh) {
        if (zh->language != kLanguageChinese)
            continue;
        ++strings;
        const wchar_t* en = FindResourceString(zh->id, kLanguageEnglish);
        ASSERT_NE(nullptr, en) << zh->id;
        EXPECT_NE(std::wstring(zh->text), en) << "string " << zh->id << " is not translated";
        EXPECT_FALSE(HasChinese(en)) << zh->id;
    }
    EXPECT_GE(dialogs, 2);
    EXPECT_GE(strings, 8);
}

TEST(ScriptLanguages, LookupsFallBackToThePrimaryLanguageThenToChinese) {
    const struct {
        LANGID asked;
        const wchar_t *about, *caption, *description;
    } cases[] = {
        {kLanguageChinese, L"关于 VK37Set(&A)...", L"摄像头参数保存", L"摄像头参数保存"},
        {kLanguageEnglish, L"&About VK37Set...", L"Save Camera Parameters",
         L"Save Camera Parameters"},
        {0x0809 /* English (United Kingdom) */, L"&About VK37Set...", L"Save Camera Parameters",
         L"Save Camera Parameters"},
        {0x0404 /* Chinese (Taiwan) */, L"关于 VK37Set(&A)...", L"摄像头参数保存",
         L"摄像头参数保存"},
        {0x0407 /* German */, L"关于 VK37Set(&A)...", L"摄像头参数保存", L"摄像头参数保存"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        ASSERT_NE(nullptr, FindResourceString(IDS_ABOUTBOX, c.asked));
        EXPECT_EQ(std::wstring(c.about), FindResourceString(IDS_ABOUTBOX, c.asked));
        ASSERT_NE(nullptr, FindDialogTemplate(IDD_MAIN_DIALOG, c.asked));
        EXPECT_EQ(std::wstring(c.caption), FindDialogTemplate(IDD_MAIN_DIALOG, c.asked)->caption);
        ASSERT_NE(nullptr, FindVersionString(L"FileDescription", c.asked));
        EXPECT_EQ(std::wstring(c.description), FindVersionString(L"FileDescription", c.asked));
        EXPECT_EQ(std::wstring(L"1.0.0.1"), FindVersionString(L"ProductVersion", c.asked));
    }
    EXPECT_EQ(nullptr, FindResourceString(IDS_ABOUTBOX + 1, kLanguageEnglish));
    EXPECT_EQ(nullptr, FindDialogTemplate(IDD_ABOUTBOX + 1, kLanguageEnglish));
}

// Lookups without a language follow the locale at each call.
TEST(ScriptLanguages, LookupsWithoutALanguageFollowTheEnvironment) {
    const char* saved = std::getenv("LC_ALL");
    const std::string previous = saved != nullptr ? saved : "";
    setenv("LC_ALL", "en_US.UTF-8", 1);
    const std::wstring english = FindResourceString(IDS_SAVED);
    setenv("LC_ALL", "zh_CN.UTF-8", 1);
    const std::wstring chinese = FindResourceString(IDS_SAVED);
    if (saved != nullptr)
        setenv("LC_ALL", previous.c_str(), 1);
    else
        unsetenv("LC_ALL");
    EXPECT_EQ(L"VK37 camera parameters saved.\n See the file 'VK37.ini' for their values.",
              english);
    EXPECT_EQ(L"VK37摄像头参数保存完毕。\n 请参阅'VK37.ini'文件中的参数值。", chinese);
}

} // namespace
