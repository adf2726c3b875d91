#include "text/IniFile.h"

#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quillmar::text {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

constexpr std::string_view kSample =
    "; comment=not a key\n"
    "top=before any section\n"
    "[Colours]\n"
    "  Red =  255 0 0  \n"
    "quoted = \"  padded  \"\n"
    "empty=\n"
    "no equals sign here\n"
    "dup=first\n"
    "dup=second\n"
    "[ other ]\n"
    "late=other section\n"
    "[colours]\n"
    "late=second block\n";

struct ReadCase {
    const char* section;
    const char* key;
    const char* expected;
};

class IniRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, FindsValueOrGivesDefault) {
    TempFolder folder;
    writeBytes(folder / "s.ini", kSample);
    const ReadCase& c = GetParam();
    EXPECT_EQ(readIniString(folder / "s.ini", c.section, c.key, "DEF"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniRead,
    ::testing::Values(ReadCase{"COLOURS", "RED", "255 0 0"},      // case, blanks around
                      ReadCase{"colours", "quoted", "  padded  "},  // quotes keep blanks
                      ReadCase{"Colours", "empty", ""},             // empty is a value
                      ReadCase{"Colours", "no equals sign here", "DEF"},
                      ReadCase{"Colours", "dup", "first"},          // first one counts
                      ReadCase{"Colours", "late", "second block"},  // blocks join
                      ReadCase{"Other", "late", "other section"},
                      ReadCase{"", "top", "DEF"},                   // before any section
                      ReadCase{"Colours", "; comment", "DEF"},
                      ReadCase{"Missing", "Red", "DEF"},
                      ReadCase{"Colours", "Blue", "DEF"}));

TEST(IniReadFile, MissingOrUnreadableFileGivesDefault) {
    TempFolder folder;
    EXPECT_EQ(readIniString(folder / "absent.ini", "S", "k", "fallback"), "fallback");
    std::filesystem::create_directory(folder / "folder.ini");
    EXPECT_EQ(readIniString(folder / "folder.ini", "S", "k", "fallback"), "fallback");
}

TEST(IniReadFile, ValueAndDefaultAreCutAt259Utf16Units) {
    TempFolder folder;
    const std::string longValue(300, 'x');
    // 258 units then a character taking two: it does not fit and is not split.
    const std::string emojiAtEdge = std::string(258, 'y') + "\xF0\x9F\x98\x80";
    writeBytes(folder / "s.ini", "[S]\nlong=" + longValue + "\nedge=" + emojiAtEdge + "\n");
    EXPECT_EQ(readIniString(folder / "s.ini", "S", "long", ""), std::string(259, 'x'));
    EXPECT_EQ(readIniString(folder / "s.ini", "S", "edge", ""), std::string(258, 'y'));
    EXPECT_EQ(readIniString(folder / "s.ini", "S", "none", longValue), std::string(259, 'x'));
}

TEST(IniReadFile, ReadsNumbersLikeTheStoredFormat) {
    TempFolder folder;
    writeBytes(folder / "s.ini", "[S]\na= 12abc\nb=x\nc=-7\n");
    EXPECT_EQ(readIniNumber(folder / "s.ini", "S", "a", 5), 12);
    EXPECT_EQ(readIniNumber(folder / "s.ini", "S", "b", 5), 0);
    EXPECT_EQ(readIniNumber(folder / "s.ini", "S", "c", 5), -7);
    EXPECT_EQ(readIniNumber(folder / "s.ini", "S", "missing", 5), 5);
}

std::string utf16Le(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : text) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

TEST(IniUtf16File, IsReadAndWrittenBackAsUtf16) {
    TempFolder folder;
    const auto file = folder / "lang.ini";
    writeBytes(file, utf16Le(u"[CHINESE]\r\nMENU_1=导入\r\n"));
    EXPECT_EQ(readIniString(file, "chinese", "menu_1", ""), "导入");

    ASSERT_TRUE(writeIniString(file, "CHINESE", "MENU_2", "导出"));
    EXPECT_EQ(readBytes(file), utf16Le(u"[CHINESE]\r\nMENU_1=导入\r\nMENU_2=导出\r\n"));
}

struct WriteCase {
    const char* name;
    std::string_view before;
    const char* section;
    const char* key;
    const char* value;
    std::string_view after;
};

class IniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(IniWrite, ChangesOnlyItsLine) {
    TempFolder folder;
    const WriteCase& c = GetParam();
    const auto file = folder / "s.ini";
    if (!c.before.empty()) writeBytes(file, c.before);
    ASSERT_TRUE(writeIniString(file, c.section, c.key, c.value));
    EXPECT_EQ(readBytes(file), c.after);
    EXPECT_EQ(readIniString(file, c.section, c.key, "DEF"), c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniWrite,
    ::testing::Values(
        WriteCase{"CreatesFile", "", "Mode0", "tool", "1", "[Mode0]\ntool=1\n"},
        WriteCase{"ReplacesValueKeepingKeySpelling",
                  "; note\r\n[Mode0]\r\n  Tool = 0 \r\nx=1\r\n", "MODE0", "tool", "1",
                  "; note\r\n[Mode0]\r\nTool=1\r\nx=1\r\n"},
        WriteCase{"AddsKeyAfterLastEntryOfSection",
                  "[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\ny=2", "a", "z", "3",
                  "[A]\r\nx=1\r\nz=3\r\n\r\n; about B\r\n[B]\r\ny=2"},
        WriteCase{"AddsKeyAfterUnterminatedLastLine", "[A]\nx=1", "A", "z", "3",
                  "[A]\nx=1\nz=3"},
        WriteCase{"AddsSectionAtEnd", "[A]\nx=1", "MODENAME", "7", "Seven",
                  "[A]\nx=1\n\n[MODENAME]\n7=Seven\n"},
        WriteCase{"ChangesFirstOfDuplicates", "[A]\nd=1\n[A]\nd=2\n", "A", "d", "9",
                  "[A]\nd=9\n[A]\nd=2\n"},
        WriteCase{"QuotesOuterBlanks", "[A]\n", "A", "name", " spaced ",
                  "[A]\nname=\" spaced \"\n"},
        WriteCase{"KeepsUtf8Bom", "\xEF\xBB\xBF[A]\nx=1\n", "A", "x", "2",
                  "\xEF\xBB\xBF[A]\nx=2\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniWriteFile, RefusesWhatCouldNotBeReadBack) {
    TempFolder folder;
    const auto file = folder / "s.ini";
    writeBytes(file, "[A]\nx=1\n");
    EXPECT_FALSE(writeIniString(file, "A", "x", "two\nlines"));
    EXPECT_FALSE(writeIniString(file, "A", "x=y", "1"));
    EXPECT_FALSE(writeIniString(file, "A]", "x", "1"));
    EXPECT_FALSE(writeIniString(file, "A", "[x", "1"));
    EXPECT_EQ(readBytes(file), "[A]\nx=1\n");
}

TEST(IniWriteFile, NeverReplacesAFileItCannotRead) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "folder.ini");
    EXPECT_FALSE(writeIniString(folder / "folder.ini", "A", "x", "1"));
    EXPECT_FALSE(writeIniString(folder / "no-such-folder" / "s.ini", "A", "x", "1"));
}

TEST(IniWriteFile, LeavesNoTemporaryFilesBehind) {
    TempFolder folder;
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(writeIniNumber(folder / "s.ini", "A", "x", i));
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.path())) {
        ++entries;
    }
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(readIniNumber(folder / "s.ini", "A", "x", -1), 2);
}

}  // namespace
}  // namespace quillmar::text
