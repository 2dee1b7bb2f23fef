// The preprocessing a script relies on: ids from resource.h, the resource
// editor's blocks, SDK headers left unread, and errors in included files.
#include "script_fixture.h"

#include <gtest/gtest.h>

namespace {

TEST(Preprocessor, IdsComeFromTheIncludedHeader) {
    InlineScript s(
        "#include \"resource.h\"\n"
        "IDD_X DIALOGEX 0,0,1,1\nBEGIN\n PUSHBUTTON \"a\",IDC_Y,0,0,1,1,MY_STYLE\nEND\n");
    s.With("resource.h", "#ifndef G\n#define G\n#define IDD_X 100\n#define IDC_Y (IDD_X + 0x10)\n"
                         "#define MY_STYLE WS_GROUP | \\\n  WS_DISABLED\n#endif\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    EXPECT_EQ(100, s.script.dialogs.at(0).id);
    const rc::ControlDef& c = s.script.dialogs.at(0).controls.at(0);
    EXPECT_EQ(116, c.id);
    EXPECT_EQ(0x58030000u, c.style); // child, visible, disabled, group, tab stop
    EXPECT_EQ((std::vector<std::string>{"dir/app.rc", "dir/resource.h"}), s.script.inputs);
}

TEST(Preprocessor, SdkHeadersAreNotRead) {
    // No such files exist here; reading them would fail the parse.
    InlineScript s("#include \"winres.h\"\n#include <windows.h>\n#include \"AFXRES.H\"\n"
                   "1 DIALOG 0,0,1,1\nBEGIN\n DEFPUSHBUTTON \"OK\",IDOK,0,0,1,1\n"
                   " LTEXT \"\",IDC_STATIC,0,0,1,1\nEND\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    EXPECT_EQ(1, s.script.dialogs.at(0).controls.at(0).id);
    EXPECT_EQ(-1, s.script.dialogs.at(0).controls.at(1).id);
}

TEST(Preprocessor, EditorBlocksAndConditionsAreObeyed) {
    InlineScript s("#ifdef APSTUDIO_INVOKED\n1 TEXTINCLUDE\nBEGIN\n \"resource.h\\0\"\nEND\n"
                   "#error not here\n#endif\n"
                   "#if !defined(AFX_RESOURCE_DLL) || defined(AFX_TARG_CHS)\n"
                   "STRINGTABLE\nBEGIN\n 1 \"taken\"\nEND\n"
                   "#else\nSTRINGTABLE\nBEGIN\n 2 \"else\"\nEND\n#endif\n"
                   "#define LEVEL 2\n#if LEVEL > 3\n#elif LEVEL == 2\nSTRINGTABLE { 3 \"elif\" }\n"
                   "#else\n#error unreachable\n#endif\n"
                   "/* a comment\n 1 DIALOG spanning lines */ // and another\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    ASSERT_EQ(2u, s.script.strings.size());
    EXPECT_EQ(U"taken", s.script.strings[0].text);
    EXPECT_EQ(U"elif", s.script.strings[1].text);
    EXPECT_TRUE(s.script.dialogs.empty());
}

TEST(Preprocessor, SelfReferringMacroStops) {
    InlineScript s("#define WS_GROUP WS_GROUP\n1 DIALOG 0,0,1,1\nBEGIN\n"
                   " LTEXT \"\",-1,0,0,1,1,WS_GROUP\nEND\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
}

TEST(Preprocessor, ErrorsInAHeaderNameTheHeader) {
    InlineScript s("\n#include \"resource.h\"\n");
    s.With("resource.h", "#define A 1\n#define F(x) x\n");
    ASSERT_FALSE(s.Parse());
    EXPECT_EQ("dir/resource.h", s.error.where.file);
    EXPECT_EQ(2, s.error.where.line);
    EXPECT_EQ("dir/resource.h:2: error: function-like macro 'F' is not supported",
              s.error.Format());
}

TEST(Preprocessor, DirectiveErrors) {
    struct {
        const char* script;
        int line;
        const char* message;
    } cases[] = {
        {"\n#include \"missing.h\"\n", 2, "cannot open include file 'missing.h'"},
        {"#if 1\n\n", 1, "#if without #endif"},
        {"#endif\n", 1, "#endif without #if"},
        {"#if 1\n#else\n#else\n#endif\n", 3, "#else after #else"},
        {"#warning x\n", 1, "unknown directive #warning"},
        {"\n#error stop here\n", 2, "#error stop here"},
        {"#if 1 / 0\n#endif\n", 1, "division by zero"},
    };
    for (const auto& c : cases) {
        InlineScript s(c.script);
        ASSERT_FALSE(s.Parse()) << c.script;
        EXPECT_EQ(c.line, s.error.where.line) << c.script;
        EXPECT_NE(std::string::npos, s.error.message.find(c.message)) << s.error.Format();
    }
}

} // namespace
