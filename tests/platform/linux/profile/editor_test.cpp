// The line-preserving editor on its own: update rules, name matching, and
// bytes it must not touch.
#include "platform/linux/profile/profileeditor.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using profile::CProfileEdit;
using profile::CProfileSplice;
using profile::EditProfileText;

const std::optional<std::string> kNone;

// Returns the edited text, or the input when the editor reports no change.
std::string Edit(const std::string& text, const std::string& section,
                 std::optional<std::string> key, std::optional<std::string> value,
                 bool* changed = nullptr) {
    CProfileEdit<char> edit{section, key, value};
    CProfileSplice<char> splice{0, 0, "untouched"};
    bool didChange = EditProfileText(text, edit, splice);
    if (changed)
        *changed = didChange;
    if (!didChange) {
        EXPECT_EQ(splice.m_insert, "untouched") << "an unchanged edit must not produce a splice";
        return text;
    }
    EXPECT_LE(splice.m_offset + splice.m_erase, text.size());
    return std::string(text).replace(splice.m_offset, splice.m_erase, splice.m_insert);
}

TEST(ProfileEditor, CreatesFirstSectionWithCrLf) {
    EXPECT_EQ(Edit("", "SYSTEM", "PORT", "0"), "[SYSTEM]\r\nPORT=0\r\n");
}

TEST(ProfileEditor, AppendsMissingSectionAtEndInTheFilesLineEnding) {
    EXPECT_EQ(Edit("[A]\nx=1\n", "B", "k", "v"), "[A]\nx=1\n[B]\nk=v\n");
    EXPECT_EQ(Edit("[A]\r\nx=1\r\n", "B", "k", "v"), "[A]\r\nx=1\r\n[B]\r\nk=v\r\n");
    // The last line lacked its terminator; it gets the file's own one.
    EXPECT_EQ(Edit("[A]\nx=1", "B", "k", "v"), "[A]\nx=1\n[B]\nk=v\n");
    EXPECT_EQ(Edit("junk", "B", "k", "v"), "junk\r\n[B]\r\nk=v\r\n");
}

TEST(ProfileEditor, ReplacesValueInPlaceKeepingNameSpellingAndSpacing) {
    EXPECT_EQ(Edit("; c\n[ System ]\n  Port = 1  \nx=2\n", "SYSTEM", "PORT", "7"),
              "; c\n[ System ]\n  Port = 7\nx=2\n");
    EXPECT_EQ(Edit("[a]\r\nk=\r\n", "A", "K", "-10"), "[a]\r\nk=-10\r\n");
    EXPECT_EQ(Edit("[a]\r\nk=5\r\n", "A", "K", ""), "[a]\r\nk=\r\n");
}

TEST(ProfileEditor, AppendsKeyAfterTheSectionsLastContentLine) {
    // Trailing blank lines and the comment that introduces [B] stay with [B].
    EXPECT_EQ(Edit("[A]\nx=1\n\n; about B\n[B]\ny=2\n", "A", "z", "3"),
              "[A]\nx=1\nz=3\n\n; about B\n[B]\ny=2\n");
    EXPECT_EQ(Edit("[A]\n[B]\n", "A", "k", "v"), "[A]\nk=v\n[B]\n");
    EXPECT_EQ(Edit("[A]", "A", "k", "v"), "[A]\r\nk=v\r\n");
    EXPECT_EQ(Edit("[A]\nx=1", "a", "y", "2"), "[A]\nx=1\ny=2\n");
}

TEST(ProfileEditor, UpdatesFirstOfDuplicateSectionsAndKeys) {
    const std::string text = "[A]\nx=1\nx=2\n[a]\nx=3\ny=4\n";
    EXPECT_EQ(Edit(text, "A", "x", "9"), "[A]\nx=9\nx=2\n[a]\nx=3\ny=4\n");
    EXPECT_EQ(Edit(text, "A", "y", "5"), "[A]\nx=1\nx=2\ny=5\n[a]\nx=3\ny=4\n");
}

TEST(ProfileEditor, FindsSectionsAndKeysAsWindowsReadersDo) {
    // Each row was checked against the system's writer under Wine: what the
    // readers see afterwards is the same, and no byte changes that the
    // request does not need.
    struct {
        const char* text;
        const char* section;
        std::optional<std::string> key;
        std::optional<std::string> value;
        const char* expected;
    } rows[] = {
        // A lone CR ends a line.
        {"[S]\nA=1\rB=2\n", "S", "A", "5", "[S]\nA=5\rB=2\n"},
        {"[S]\nX=-55\rV_PMAX=-177\n", "S", "V_PMAX", "-26", "[S]\nX=-55\rV_PMAX=-26\n"},
        {"[S]\nA=1\nB=2\r", "S", "C", "3", "[S]\nA=1\nB=2\rC=3\n"},
        {"[S]\rA=1\r", "S", "B", "2", "[S]\rA=1\rB=2\r"},
        // In a file of lone CRs, a new line before an LF keeps that LF's line.
        {"[S]\rA=1\n\n", "S", "B", "2", "[S]\rA=1\nB=2\r\n\n"},
        // Vertical tab, form feed and Ctrl-Z are blanks around names and values.
        {"[\fSATURATION  ]\nV_PMAX=1\n", "SATURATION", "V_PMAX", "2",
         "[\fSATURATION  ]\nV_PMAX=2\n"},
        {"\x1a[S]\x1a\n\vA\x1a=\x1a"
         "1\f\n",
         "S", "A", "8",
         "\x1a[S]\x1a\n\vA\x1a=\x1a"
         "8\n"},
        // A header's name runs to the last ']'; anything after it is ignored.
        {"[C] ]\nA=1\n", "C", "A", "2", "[C] ]\nA=1\n[C]\nA=2\n"},
        {"[A]=1\nk=1\n", "A", "k", "2", "[A]=1\nk=2\n"},
        // Without a ']' a line is a key of the section above.
        {"[X]\n[C\nk=1\n", "C", "k", "3", "[X]\n[C\nk=1\n[C]\nk=3\n"},
        // A line without '=' is a key without a value; only ';' starts a comment.
        {"[C]\nPORT", "C", "PORT", "4", "[C]\nPORT=4"},
        {"[S]\n;k=1\n#k=9\n", "S", "#K", "1", "[S]\n;k=1\n#k=1\n"},
        {"[S]\n;k=1\n", "S", "k", "1", "[S]\nk=1\n;k=1\n"},
        // Keys before the first header form the nameless section.
        {"[S]\nA=1\n", "", "K", "1", "K=1\n[S]\nA=1\n"},
        {"x=1\n; c\n[S]\n", "", "y", "2", "x=1\ny=2\n; c\n[S]\n"},
        {"x=1\n[S]\nx=2\n", "", "X", kNone, "[S]\nx=2\n"},
        {"x=1\n;c\ny=2\n[S]\nA=1\n", "", kNone, kNone, "[S]\nA=1\n"},
        {"[S]\n=1\n", "S", "", kNone, "[S]\n"},
        // A key is removed from the first section of that name holding it,
        // a section only where it first appears.
        {"[A]\nx=1\n[a]\ny=2\nx=3\n", "A", "Y", kNone, "[A]\nx=1\n[a]\nx=3\n"},
        {"[A]\nx=1\n[a]\ny=2\n", "a", kNone, kNone, "[a]\ny=2\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(Edit(row.text, row.section, row.key, row.value), row.expected);
    }
}

TEST(ProfileEditor, ReportsNoChangeWhenTheTextAlreadySaysIt) {
    bool changed = true;
    Edit("[A]\r\nk= 5\r\n", "a", "K", "5", &changed);
    EXPECT_FALSE(changed);
    Edit("[A]\nk=5\n", "B", kNone, kNone, &changed);
    EXPECT_FALSE(changed) << "removing a missing section";
    Edit("[A]\nk=5\n", "A", "j", kNone, &changed);
    EXPECT_FALSE(changed) << "removing a missing key";
    Edit("", "A", "j", kNone, &changed);
    EXPECT_FALSE(changed) << "removing from an empty file must not create it";
}

TEST(ProfileEditor, AValueWithLeadingBlanksIsStableAcrossRepeatedWrites) {
    std::string text = "[A]\nk=5\n";
    for (int i = 0; i < 3; ++i)
        text = Edit(text, "A", "k", " 5");
    EXPECT_EQ(text, "[A]\nk= 5\n");
    bool changed = true;
    Edit(text, "A", "k", " 5", &changed);
    EXPECT_FALSE(changed);
    EXPECT_EQ(Edit("[A]\nk=  5\n", "A", "k", " 6"), "[A]\nk= 6\n");
}

TEST(ProfileEditor, RemovesKeyAndSection) {
    EXPECT_EQ(Edit("[A]\nx=1\ny=2\n[B]\nx=3\n", "A", "X", kNone), "[A]\ny=2\n[B]\nx=3\n");
    EXPECT_EQ(Edit("[A]\nx=1\n[B]\ny=2", "B", "y", kNone), "[A]\nx=1\n[B]\n");
    // The section goes up to its last content line; what introduces the
    // next section stays.
    EXPECT_EQ(Edit("[Z]\n[A]\nx=1\n; c\ny=2\n\n; about B\n[B]\nx=3\n", "a", kNone, kNone),
              "[Z]\n\n; about B\n[B]\nx=3\n");
    EXPECT_EQ(Edit("[A]\nx=1", "A", kNone, kNone), "");
}

TEST(ProfileEditor, LeavesBytesItDoesNotUnderstandAlone) {
    using namespace std::string_literals;
    const std::string megabyteLine(1 << 20, 'q');
    const std::string head = "\xEF\xBB head\0er\r\n[\xFF\xFE]\r\n"s + megabyteLine +
                             "\r\n[A]\r\nbad\xC3\x28=\x80\r\nnul\0=1\r\n"s;
    EXPECT_TRUE(Edit(head + "k=1\r\n", "A", "k", "22") == head + "k=22\r\n");
    EXPECT_TRUE(Edit(head, "A", "k", "22") == head + "k=22\r\n");
}

} // namespace
