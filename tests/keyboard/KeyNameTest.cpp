#include "keyboard/KeyName.h"

#include "MarkedTexts.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace quillmar::keyboard {
namespace {

using testing::MarkedTexts;
using testing::OneTextOverride;

TEST(KeyName, NamedKeysUseTheirOwnNames) {
    const text::BuiltInTexts texts;
    EXPECT_EQ(keyName(0x01E, texts), u"A");
    EXPECT_EQ(keyName(0x136, texts), u"Right Shift");
    EXPECT_EQ(keyName(0x150, texts), u"\u2193");
    EXPECT_EQ(keyName(0x17E, texts), u"Calendar");
}

TEST(KeyName, MediaKeysAreNamedByTheStringTable) {
    const MarkedTexts texts;
    EXPECT_EQ(keyName(0x130, texts), u"<MEDIA_V_ADD_7>");
    EXPECT_EQ(keyName(0x16D, texts), u"<MEDIA_PALYER_1>");
    EXPECT_EQ(keyName(0x16C, texts), u"<MEDIA_MAIL_18>");
    EXPECT_EQ(keyName(0x130, text::BuiltInTexts{}), u"Hello world");
}

TEST(KeyName, KeysWithoutNameShowTheirCode) {
    const text::BuiltInTexts texts;
    EXPECT_EQ(keyName(0x055, texts), u"Unknown Key: 055");
    EXPECT_EQ(keyName(0x05A, texts), u"Unknown Key: 05a");
    EXPECT_EQ(keyName(0x000, texts), u"Unknown Key: 000");
    EXPECT_EQ(keyName(0x09C, texts), u"Unknown Key: 09c") << "a code aliasing Num Enter's index";
    EXPECT_EQ(keyName(0x1234, texts), u"Unknown Key: 1234");
}

// The unknown-key text is a translation: only its code placeholder is filled
// in, other format directives stay text.
TEST(KeyName, TranslatedUnknownKeyTextIsNoFormat) {
    EXPECT_EQ(keyName(0x055, OneTextOverride("UNKNOWN_KEY", u"Taste %03x (%s %n)")), u"Taste 055 (%s %n)");
    EXPECT_EQ(keyName(0x055, OneTextOverride("UNKNOWN_KEY", u"Taste ?")), u"Taste ?");
}

TEST(KeyName, BufferGetsAsMuchAsFitsAndATerminator) {
    const std::u16string longName(300, u'x');
    const OneTextOverride texts("MEDIA_MUTE_8", longName);
    std::array<char16_t, kKeyNameCapacity + 1> buffer;
    buffer.fill(u'#');

    const std::size_t written = keyName(0x120, texts, std::span(buffer.data(), kKeyNameCapacity));
    EXPECT_EQ(written, 259u);
    EXPECT_EQ(std::u16string(buffer.data()), longName.substr(0, 259));
    EXPECT_EQ(buffer[kKeyNameCapacity], u'#') << "nothing written past the capacity";

    std::array<char16_t, 4> small;
    EXPECT_EQ(keyName(0x001, text::BuiltInTexts{}, small), 3u);
    EXPECT_EQ(std::u16string(small.data()), u"Esc");
    EXPECT_EQ(keyName(0x001, text::BuiltInTexts{}, std::span<char16_t>{}), 0u);
}

}  // namespace
}  // namespace quillmar::keyboard
