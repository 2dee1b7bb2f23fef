// The parser on small scripts: how each short form expands, how styles
// combine, and where a wrong script is reported.
#include "script_fixture.h"
#include "win32_values.h"

#include <gtest/gtest.h>

using namespace win32;

namespace {

const rc::ControlDef& OnlyControl(const InlineScript& s) {
    return s.script.dialogs.at(0).controls.at(0);
}

std::string InDialog(const std::string& controls) {
    return "1 DIALOGEX 0, 0, 100, 50\nBEGIN\n" + controls + "\nEND\n";
}

struct ShortFormCase {
    const char* control;
    const char* className;
    uint32_t style; // besides WS_CHILD | WS_VISIBLE
};

void PrintTo(const ShortFormCase& c, std::ostream* os) {
    *os << c.control;
}

class ShortForms : public testing::TestWithParam<ShortFormCase> {};

TEST_P(ShortForms, ExpandToClassAndFullStyle) {
    InlineScript s(InDialog(GetParam().control));
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    const rc::ControlDef& c = OnlyControl(s);
    EXPECT_EQ(GetParam().className, c.className);
    EXPECT_EQ(WS_CHILD | WS_VISIBLE | GetParam().style, c.style);
}

INSTANTIATE_TEST_SUITE_P(
    Controls, ShortForms,
    testing::Values(
        ShortFormCase{"DEFPUSHBUTTON \"OK\",1,1,2,3,4", "BUTTON", BS_DEFPUSHBUTTON | WS_TABSTOP},
        ShortFormCase{"PUSHBUTTON \"Go\",5,1,2,3,4", "BUTTON", BS_PUSHBUTTON | WS_TABSTOP},
        ShortFormCase{"GROUPBOX \"G\",5,1,2,3,4", "BUTTON", BS_GROUPBOX},
        ShortFormCase{"LTEXT \"t\",-1,1,2,3,4", "STATIC", SS_LEFT | WS_GROUP},
        ShortFormCase{"CTEXT \"t\",-1,1,2,3,4", "STATIC", SS_CENTER | WS_GROUP},
        ShortFormCase{"RTEXT \"t\",-1,1,2,3,4", "STATIC", SS_RIGHT | WS_GROUP},
        ShortFormCase{"LTEXT \"t\",-1,1,2,3,4,SS_NOPREFIX", "STATIC",
                      SS_LEFT | WS_GROUP | SS_NOPREFIX},
        ShortFormCase{"LTEXT \"t\",-1,1,2,3,4,NOT WS_GROUP", "STATIC", SS_LEFT},
        ShortFormCase{"EDITTEXT 7,1,2,3,4", "EDIT", WS_BORDER | WS_TABSTOP},
        ShortFormCase{"EDITTEXT 7,1,2,3,4,ES_AUTOHSCROLL | NOT WS_BORDER", "EDIT",
                      ES_AUTOHSCROLL | WS_TABSTOP},
        // Without a style the combo box is a simple one; a given style
        // replaces that rather than adding to it (SIMPLE | DROPDOWN would
        // silently make a drop-down list).
        ShortFormCase{"COMBOBOX 7,1,2,3,4", "COMBOBOX", CBS_SIMPLE | WS_TABSTOP},
        ShortFormCase{"COMBOBOX 7,1,2,3,4,CBS_DROPDOWN", "COMBOBOX", CBS_DROPDOWN},
        ShortFormCase{"CONTROL \"x\",9,\"Button\",BS_DEFPUSHBUTTON,1,2,3,4", "BUTTON",
                      BS_DEFPUSHBUTTON},
        ShortFormCase{"CONTROL \"\",9,\"ComboBox\",CBS_DROPDOWNLIST | WS_VSCROLL,1,2,3,4",
                      "COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL},
        ShortFormCase{"CONTROL \"\",9,EDIT,0,1,2,3,4", "EDIT", 0},
        ShortFormCase{"AUTOCHECKBOX \"a\",9,1,2,3,4", "BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP},
        // Window classes keep the spelling the Linux dialogs look for.
        ShortFormCase{"CONTROL \"\",9,\"MSCTLS_TRACKBAR32\",TBS_BOTH | TBS_NOTICKS,1,2,3,4",
                      "msctls_trackbar32", TBS_BOTH | TBS_NOTICKS},
        ShortFormCase{"CONTROL \"\",9,\"SysTabControl32\",WS_TABSTOP,1,2,3,4", "SysTabControl32",
                      WS_TABSTOP}));

TEST(ParserControls, NotWsVisibleHidesAControl) {
    InlineScript s(InDialog("CONTROL \"\",9,\"Static\",SS_LEFT | NOT WS_VISIBLE,1,2,3,4"));
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    EXPECT_EQ(WS_CHILD, OnlyControl(s).style);
}

TEST(ParserControls, IconPictureNamesItsIconById) {
    InlineScript s("#define IDI_X 129\nIDI_X ICON \"x.ico\"\n" +
                   InDialog("ICON IDI_X,-1,11,17,20,20"));
    s.With("x.ico", TinyIco());
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    const rc::ControlDef& c = OnlyControl(s);
    EXPECT_EQ(U"#129", c.text);
    EXPECT_EQ(WS_CHILD | WS_VISIBLE | SS_ICON, c.style);
    EXPECT_EQ(20, c.cx);
}

TEST(ParserControls, GeometryAndExtendedStyleInOrder) {
    InlineScript s(InDialog("PUSHBUTTON \"Go\",5,11,12,13,14,0,WS_EX_APPWINDOW,77"));
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    const rc::ControlDef& c = OnlyControl(s);
    EXPECT_EQ(5, c.id);
    EXPECT_EQ((std::vector<int>{11, 12, 13, 14}), (std::vector<int>{c.x, c.y, c.cx, c.cy}));
    EXPECT_EQ(WS_EX_APPWINDOW, c.exStyle);
}

TEST(ParserDialogs, DefaultStyleWithoutStyleStatement) {
    InlineScript s("1 DIALOG 0,0,10,10\nCAPTION \"c\"\nFONT 8, \"Sans\"\nBEGIN\nEND\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    const rc::DialogDef& d = s.script.dialogs.at(0);
    EXPECT_EQ(WS_POPUP | WS_BORDER | WS_SYSMENU | WS_CAPTION | DS_SETFONT, d.style);
    EXPECT_EQ(U"c", d.caption);
    EXPECT_EQ(8, d.pointSize);
}

TEST(ParserDialogs, GivenStyleIsKeptAndFontImpliesSetFont) {
    InlineScript s("2 DIALOGEX 1,2,30,40\nSTYLE WS_POPUP | WS_VISIBLE\nEXSTYLE WS_EX_APPWINDOW\n"
                   "FONT 9, \"Mono\", 700, 1, 0x86\nBEGIN\nEND\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    const rc::DialogDef& d = s.script.dialogs.at(0);
    EXPECT_EQ(WS_POPUP | WS_VISIBLE | DS_SETFONT, d.style);
    EXPECT_EQ(WS_EX_APPWINDOW, d.exStyle);
    EXPECT_EQ(U"Mono", d.fontName);
    EXPECT_EQ(700, d.weight);
    EXPECT_TRUE(d.italic);
    EXPECT_EQ(0x86, d.charset);
    EXPECT_EQ((std::vector<int>{1, 2, 30, 40}), (std::vector<int>{d.x, d.y, d.cx, d.cy}));
}

// The version record's strings are kept with the language of their block;
// resources only Windows reads are skipped.
TEST(ParserResources, VersionStringsAreKeptWindowsOnlyResourcesSkipped) {
    InlineScript s(
        "VS_VERSION_INFO VERSIONINFO\n FILEVERSION 1,0,0,1\n FILEFLAGS 0x0L\nBEGIN\n"
        " BLOCK \"StringFileInfo\"\n BEGIN\n  BLOCK \"080403a8\"\n  BEGIN\n"
        "   VALUE \"FileVersion\", \"1.0.0.1\"\n   VALUE \"Comments\", \"old\", \"second\"\n"
        "   VALUE \"Build\", 7\n  END\n"
        "  BLOCK \"040904b0\"\n  BEGIN\n   VALUE \"FileVersion\", \"9\"\n  END\n END\n"
        " BLOCK \"VarFileInfo\"\n BEGIN\n  VALUE \"Translation\", 0x804, 936\n END\nEND\n"
        "CREATEPROCESS_MANIFEST_RESOURCE_ID RT_MANIFEST \"app.manifest\"\n"
        "LANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED\n"
        "STRINGTABLE\nBEGIN\n 5, \"five\"\nEND\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    ASSERT_EQ(3u, s.script.versionStrings.size());
    EXPECT_EQ(U"FileVersion", s.script.versionStrings[0].name);
    EXPECT_EQ(U"1.0.0.1", s.script.versionStrings[0].value);
    EXPECT_EQ(U"old", s.script.versionStrings[1].value);
    EXPECT_EQ(0x0804, s.script.versionStrings[1].language);
    EXPECT_EQ(U"9", s.script.versionStrings[2].value);
    EXPECT_EQ(0x0409, s.script.versionStrings[2].language);
    ASSERT_EQ(1u, s.script.strings.size());
    EXPECT_EQ(5u, s.script.strings[0].id);
    EXPECT_EQ(U"five", s.script.strings[0].text);
}

// LANGUAGE sets the language of what follows; in a resource's header, of that
// resource alone. One id may stand once in each language.
TEST(ParserResources, EachResourceKeepsItsLanguage) {
    InlineScript s(
        "1 DIALOG 0,0,1,1\nBEGIN\nEND\nLANGUAGE LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED\n"
        "1 DIALOG 0,0,1,1\nBEGIN\nEND\n2 DIALOG 0,0,1,1\nLANGUAGE 9, 2\nBEGIN\nEND\n"
        "STRINGTABLE\nLANGUAGE 9, 1\nBEGIN\n 5 \"b\"\nEND\n3 DIALOG 0,0,1,1\nBEGIN\nEND\n");
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    std::vector<int> languages;
    for (const rc::DialogDef& d : s.script.dialogs)
        languages.push_back(d.language);
    languages.push_back(s.script.strings.at(0).language);
    EXPECT_EQ((std::vector<int>{0x0409, 0x0804, 0x0809, 0x0804, 0x0409}), languages);
}

TEST(ParserResources, IconPathIsRelativeToTheScript) {
    InlineScript s("7 ICON \"res\\\\x.ico\"\n");
    s.With("res/x.ico", TinyIco());
    ASSERT_TRUE(s.Parse()) << s.error.Format();
    ASSERT_EQ(1u, s.script.icons.size());
    EXPECT_EQ("dir/res/x.ico", s.script.icons[0].file);
    EXPECT_EQ(TinyIco().size(), s.script.icons[0].bytes.size());
}

struct ErrorCase {
    const char* name;
    const char* script;
    int line;
    const char* message; // a part of the message
};

void PrintTo(const ErrorCase& c, std::ostream* os) {
    *os << c.name;
}

class ParserErrors : public testing::TestWithParam<ErrorCase> {};

TEST_P(ParserErrors, ReportFileAndLine) {
    InlineScript s(GetParam().script);
    s.With("bad.ico", "not an icon").With("x.ico", TinyIco());
    // An icon file whose one image is not what its entry says.
    s.With("png.ico", TinyIco(std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0\2\0\0\0\2", 24)));
    ASSERT_FALSE(s.Parse());
    EXPECT_EQ("dir/app.rc", s.error.where.file);
    EXPECT_EQ(GetParam().line, s.error.where.line) << s.error.Format();
    EXPECT_NE(std::string::npos, s.error.message.find(GetParam().message)) << s.error.Format();
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, ParserErrors,
    testing::Values(
        ErrorCase{"UndefinedStyle", "1 DIALOGEX 0,0,1,1\nSTYLE WS_POPUP |\n  WS_TABSTP\nBEGIN\nEND",
                  3, "'WS_TABSTP' is not defined"},
        ErrorCase{"UndefinedId", "\nIDD_MISSING DIALOGEX 0,0,1,1\nBEGIN\nEND", 2,
                  "'IDD_MISSING' is not defined"},
        ErrorCase{"UnknownControl", "1 DIALOG 0,0,1,1\nBEGIN\n LISTBOX 3,0,0,1,1\nEND", 3,
                  "'LISTBOX' is not supported"},
        ErrorCase{"UnknownClass",
                  "1 DIALOG 0,0,1,1\nBEGIN\n"
                  " CONTROL \"\",3,\"SysListView32\",0,0,0,1,1\nEND",
                  3, "'SysListView32' is not supported"},
        ErrorCase{"MissingComma", "1 DIALOG 0,0,1,1\nBEGIN\n PUSHBUTTON \"a\" 3,0,0,1,1\nEND", 3,
                  "expected ','"},
        ErrorCase{"MissingEnd", "1 DIALOG 0,0,1,1\nBEGIN\n PUSHBUTTON \"a\",3,0,0,1,1\n", 1,
                  "without END"},
        ErrorCase{"UnknownType", "\n\n1 DIALOGX 0,0,1,1", 3, "unknown resource type 'DIALOGX'"},
        ErrorCase{"DuplicateString", "STRINGTABLE\nBEGIN\n 1 \"a\"\n 1 \"b\"\nEND", 4,
                  "defined twice"},
        ErrorCase{"DuplicateDialog", "1 DIALOG 0,0,1,1\nBEGIN\nEND\n1 DIALOG 0,0,1,1\nBEGIN\nEND",
                  4, "defined twice"},
        ErrorCase{"LanguageOutOfRange", "\nLANGUAGE 0x400, SUBLANG_DEFAULT", 2, "out of range"},
        ErrorCase{"NotAnIcon", "1 ICON \"bad.ico\"", 1, "not an icon file"},
        ErrorCase{"MissingIcon", "\n1 ICON \"none.ico\"", 2, "cannot read icon file"},
        ErrorCase{"IconPngOfAnotherSize", "1 ICON \"png.ico\"", 1,
                  "image 1 is 2x2, its entry says 1x1"},
        ErrorCase{"IconPictureWithoutIcon",
                  "1 ICON \"x.ico\"\n2 DIALOG 0,0,1,1\nBEGIN\n ICON 3,-1,0,0\nEND", 4,
                  "icon 3 is not defined"},
        ErrorCase{"UnbalancedBlock", "1 VERSIONINFO\nBEGIN\n BLOCK \"x\"\n BEGIN\nEND", 2,
                  "BEGIN without END"},
        ErrorCase{"StrayCharacter", "1 DIALOG 0,0,1,1 @\nBEGIN\nEND", 1, "unexpected character"}),
    [](const testing::TestParamInfo<ErrorCase>& info) { return info.param.name; });

} // namespace
