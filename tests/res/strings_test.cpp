// Texts: the script's escapes, its UTF-8, and the ASCII-only literals the
// generated tables carry them in.
#include "tools/rc2cpp/emit.h"
#include "script_fixture.h"

#include <gtest/gtest.h>

namespace {

std::u32string CaptionOf(const std::string& literal, bool utf8 = true) {
    InlineScript s(std::string(utf8 ? "#pragma code_page(65001)\n" : "") +
                   "1 DIALOG 0,0,1,1\nCAPTION " + literal + "\nBEGIN\nEND\n");
    if (!s.Parse()) {
        ADD_FAILURE() << s.error.Format();
        return U"<error>";
    }
    return s.script.dialogs.at(0).caption;
}

rc::Diagnostic ErrorOf(const std::string& script) {
    InlineScript s(script);
    EXPECT_FALSE(s.Parse());
    return s.error;
}

TEST(ScriptStrings, Escapes) {
    EXPECT_EQ(U"say \"hi\"", CaptionOf(R"("say ""hi""")"));
    EXPECT_EQ(U"a\tb\nc\\d\re", CaptionOf(R"("a\tb\nc\\d\re")"));
    EXPECT_EQ(U"\"", CaptionOf(R"("""")"));
    EXPECT_EQ(U"", CaptionOf(R"("")"));
    EXPECT_EQ(U"wide", CaptionOf(R"(L"wide")"));
    EXPECT_EQ(U"a\\", CaptionOf(R"("a\\")"));
}

TEST(ScriptStrings, Utf8DecodesToCodePoints) {
    EXPECT_EQ(U"摄像头 (&A)", CaptionOf("\"摄像头 (&A)\""));
    EXPECT_EQ(U"é\U0001F4F7", CaptionOf("\"é\xF0\x9F\x93\xB7\""));
}

TEST(ScriptStrings, BadTextIsReportedOnItsLine) {
    rc::Diagnostic unknown = ErrorOf("1 DIALOG 0,0,1,1\nCAPTION \"a\\qb\"\nBEGIN\nEND\n");
    EXPECT_EQ(2, unknown.where.line);
    EXPECT_NE(std::string::npos, unknown.message.find("\\q"));

    rc::Diagnostic open = ErrorOf("1 DIALOG 0,0,1,1\n\nCAPTION \"abc\nBEGIN\nEND\n");
    EXPECT_EQ(3, open.where.line);

    // A backslash-quote does not close the string: rc writes a quote as "".
    rc::Diagnostic quote = ErrorOf("1 DIALOG 0,0,1,1\nCAPTION \"a\\\"b\"\nBEGIN\nEND\n");
    EXPECT_EQ(2, quote.where.line);

    const char* broken[] = {"\xE6\x91", "\xC0\xAF", "\xED\xA0\x80", "\xF8\x88\x80\x80\x80", "\x80"};
    for (const char* bytes : broken) {
        rc::Diagnostic bad = ErrorOf("#pragma code_page(65001)\n1 DIALOG 0,0,1,1\nCAPTION \"" +
                                     std::string(bytes) + "\"\nBEGIN\nEND\n");
        EXPECT_EQ(3, bad.where.line);
        EXPECT_NE(std::string::npos, bad.message.find("UTF-8")) << bad.Format();
    }
}

TEST(ScriptStrings, TextBeyondAsciiNeedsTheUtf8CodePage) {
    rc::Diagnostic e = ErrorOf("1 DIALOG 0,0,1,1\nCAPTION \"确定\"\nBEGIN\nEND\n");
    EXPECT_NE(std::string::npos, e.message.find("code_page(65001)"));
    // Plain ASCII needs no code page at all.
    EXPECT_EQ(U"OK", CaptionOf("\"OK\"", false));
}

TEST(WideLiterals, AreAsciiAndNeverRunIntoTheNextCharacter) {
    EXPECT_EQ(R"(L"\u786E\u5B9A")", rc::WideLiteral(U"确定"));
    EXPECT_EQ(R"(L"\U0001F4F7x")", rc::WideLiteral(U"\U0001F4F7x"));
    // Control characters become three-digit octal, so a digit after them stays a digit.
    EXPECT_EQ(R"(L"\0011\012\177")", rc::WideLiteral(U"\u00011\n\u007F"));
    EXPECT_EQ(R"(L"\"\\\?")", rc::WideLiteral(U"\"\\?"));
    // C1 controls may not be universal character names either.
    EXPECT_EQ(R"(L"\205\u00A0")", rc::WideLiteral(U"\u0085\u00A0"));
}

} // namespace
