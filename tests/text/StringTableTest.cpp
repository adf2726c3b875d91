#include "text/StringTable.h"

#include "platform/TempFolder.h"

#include <gtest/gtest.h>

namespace quillmar::text {
namespace {

using testing::TempFolder;
using testing::writeBytes;

class StringTableTest : public ::testing::Test {
protected:
    std::filesystem::path file() const { return folder_ / "language.ini"; }
    StringTable table() const { return StringTable(file()); }

private:
    TempFolder folder_;
};

TEST_F(StringTableTest, WithoutLanguageFileEveryLoadedTextIsOneSpace) {
    StringTable texts = table();
    EXPECT_EQ(texts.slot(TextSlot::MAIN_CAPTION), u"Gaming Keyboard Settings");
    EXPECT_EQ(texts.slot(TextSlot::MAIN_BUTTON_KORVEL_VER), u"");

    texts.LoadStringTable();
    for (const TextSlotInfo& info : kTextSlots) EXPECT_EQ(texts.slot(info.slot), u" ") << info.key;
    EXPECT_EQ(texts.ChooseLanguageSection(), "CHINESE");
    EXPECT_EQ(texts.ReadText("MENU_1"), u" ");
}

struct LanguageCase {
    const char* file;
    const char* section;
};

class LanguageChoice : public StringTableTest,
                       public ::testing::WithParamInterface<LanguageCase> {};

TEST_P(LanguageChoice, OneSelectsEnglishAnythingElseChinese) {
    writeBytes(file(), GetParam().file);
    EXPECT_EQ(table().ChooseLanguageSection(), GetParam().section);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageChoice,
    ::testing::Values(LanguageCase{"[LANGUAGE]\nlanguage=1\n", "ENGINSH"},
                      LanguageCase{"[language]\nLANGUAGE=1\n", "ENGINSH"},
                      LanguageCase{"[LANGUAGE]\nlanguage=\"  1\"\n", "ENGINSH"},
                      LanguageCase{"[LANGUAGE]\nlanguage=1st\n", "ENGINSH"},
                      LanguageCase{"[LANGUAGE]\nlanguage=2\n", "CHINESE"},
                      LanguageCase{"[LANGUAGE]\nlanguage=english\n", "CHINESE"},
                      LanguageCase{"[LANGUAGE]\nlanguage=\n", "CHINESE"},
                      LanguageCase{"[OTHER]\nlanguage=1\n", "CHINESE"}));

constexpr const char* kLanguageFile =
    "[LANGUAGE]\nlanguage=1\n"
    "[chinese]\nMAIN_CAPTION=游戏键盘设置\nMENU_1=导入\nONLY_CHINESE=仅中文\n"
    "[enginsh]\nmain_caption=Keyboard Settings\nMACRO_ERR_MAX=\"At most %d macros \"\n"
    "MENU_1=Import\n";

TEST_F(StringTableTest, LoadsTheChosenSectionOnly) {
    writeBytes(file(), kLanguageFile);
    StringTable texts = table();
    texts.LoadStringTable();
    EXPECT_EQ(texts.slot(TextSlot::MAIN_CAPTION), u"Keyboard Settings");
    EXPECT_EQ(texts.slot(TextSlot::MACRO_ERR_MAX), u"At most %d macros ");
    EXPECT_EQ(texts.slot(TextSlot::MAIN_HELP_PROMPT), u" ");  // built-in text is gone
    EXPECT_EQ(texts.ReadText("ONLY_CHINESE"), u" ");
}

TEST_F(StringTableTest, OnDemandTextsFollowTheFileAtEachRead) {
    writeBytes(file(), kLanguageFile);
    StringTable texts = table();
    texts.LoadStringTable();
    EXPECT_EQ(texts.text("MENU_1", u"Import"), u"Import");

    std::string chinese = kLanguageFile;
    chinese.replace(chinese.find("language=1"), 10, "language=0");
    writeBytes(file(), chinese);
    EXPECT_EQ(texts.ReadText("MENU_1"), u"导入");
    EXPECT_EQ(texts.text("ONLY_CHINESE", u""), u"仅中文");
    // Load-time texts stay as loaded.
    EXPECT_EQ(texts.text("MAIN_CAPTION", u"Gaming Keyboard Settings"), u"Keyboard Settings");
}

}  // namespace
}  // namespace quillmar::text
