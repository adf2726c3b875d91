#include <gtest/gtest.h>

#include <map>
#include <string>

#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeyNameLookup.h"

namespace quillmar::keyboard {
namespace {

TEST(KeyCodesNamed, TakesOwnNamesAndUsualSpellingsWhateverTheirCase) {
    const std::map<std::u16string, std::vector<KeyCode>> cases = {
        {u"Esc", {0x001}},         {u"escape", {0x001}},     {u"ESC", {0x001}},      {u"Left Ctrl", {0x01D}},
        {u"left_ctrl", {0x01D}},   {u"LeftCtrl", {0x01D}},   {u"Ctrl", {0x01D}},     {u"Del", {0x153}},
        {u"delete", {0x153}},      {u"Up", {0x148}},         {u"↑", {0x148}},        {u"down", {0x150}},
        {u"Left", {0x14B}},        {u"RIGHT", {0x14D}},      {u"Num Plus", {0x04E}}, {u"num +", {0x04E}},
        {u"Num+", {0x04E}},        {u"Page Up", {0x149}},    {u"PgUp", {0x149}},     {u"pageup", {0x149}},
        {u"Right Shift", {0x036, 0x136}},                    {u"RShift", {0x036}},   {u"Num 7", {0x047}},
        {u"", {}},                 {u"   ", {}},             {u"Nokey", {}},         {u"Lefty", {}},
    };
    for (const auto& [name, codes] : cases) {
        EXPECT_EQ(keyCodesNamed(name), codes) << std::string(name.begin(), name.end());
    }
}

// An alias that is also another key's name, or the alias of another key,
// would make a typed name ambiguous.
TEST(KeyAliases, NameOneKeyEachAndNoOtherKeyHasThatName) {
    for (const KeyAlias& entry : keyAliases()) {
        const std::vector<KeyCode> codes = keyCodesNamed(entry.alias);
        ASSERT_EQ(codes.size(), 1u) << std::string(entry.alias.begin(), entry.alias.end());
        EXPECT_EQ(codes[0], entry.code);
        EXPECT_FALSE(keyInfoOf(entry.code).name.empty()) << "an alias of a key without a name";
    }
    EXPECT_EQ(aliasesOf(0x149), std::vector<std::u16string_view>{u"PgUp"});
}

}  // namespace
}  // namespace quillmar::keyboard
