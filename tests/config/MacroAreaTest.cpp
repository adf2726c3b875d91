#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "ImageFixtures.h"
#include "config/MacroArea.h"
#include "config/MacroAreaDecoder.h"
#include "text/Texts.h"

namespace quillmar::config {
namespace {

using testing::Bytes;
using testing::macroOf;
using testing::macroWithActions;
using testing::press;
using testing::release;

constexpr keyboard::KeyCode kKeyA = 0x1E;
constexpr keyboard::KeyCode kLeftShift = 0x2A;

Bytes header(std::uint16_t total, std::uint16_t count, std::uint8_t namesFlag) {
    Bytes bytes = {0xAA, 0x55, static_cast<std::uint8_t>(total), static_cast<std::uint8_t>(total >> 8),
                   static_cast<std::uint8_t>(count), static_cast<std::uint8_t>(count >> 8), namesFlag, 0};
    bytes.resize(16, 0);
    return bytes;
}

Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

class PrefixTexts final : public text::Texts {
public:
    std::u16string text(std::string_view key, std::u16string_view builtIn) const override {
        return key == "MACRO_NEW_PREFIX" ? u"Makro " : std::u16string(builtIn);
    }
};

TEST(BuildMacroArea, EmptyListIsTheBareHeader) {
    EXPECT_EQ(buildMacroArea({}, true), header(16, 0, 1));
    const MacroAreaSizes sizes = macroAreaSizes({});
    EXPECT_EQ(sizes.withoutNames, 16u);
    EXPECT_EQ(sizes.withNames, 16u);
}

TEST(BuildMacroArea, OneNamedMacroWithOnePress) {
    const MacroList macros = {macroOf(u"ab", 1, 1, {press(kKeyA, 120)})};
    const Bytes expected = concat({header(30, 1, 1), {0x12, 0x00}, {0x01, 0x00, 0x01, 0x02},
                                   {0x0C, 0xA0, 0x02, 0x04}, {0x61, 0x00, 0x62, 0x00}});
    EXPECT_EQ(buildMacroArea(macros, true), expected);

    const Bytes withoutNames = concat({header(26, 1, 0), {0x12, 0x00}, {0x01, 0x00, 0x01, 0x00},
                                       {0x0C, 0xA0, 0x02, 0x04}});
    EXPECT_EQ(buildMacroArea(macros, false), withoutNames);
    const MacroAreaSizes sizes = macroAreaSizes(macros);
    EXPECT_EQ(sizes.withoutNames, 26u);
    EXPECT_EQ(sizes.withNames, 30u);
}

TEST(BuildMacroArea, OffsetsFollowEachEntryWithItsName) {
    const MacroList macros = {macroOf(u"abc", 1, 2, {press(kKeyA), release(kKeyA)}), macroOf(u"", 2, 3, {}),
                              macroOf(u"z", 3, 4, {press(kKeyA)})};
    const Bytes area = buildMacroArea(macros, true);
    // Table at 16 (3 entries), first entry at 22: 4 + 8 actions + 6 name = 18.
    EXPECT_EQ(Bytes(area.begin() + 16, area.begin() + 22), (Bytes{22, 0, 40, 0, 44, 0}));
    EXPECT_EQ(area.size(), 16u + 6 + 18 + 4 + 10);
    EXPECT_EQ(area[44 + 2], 4) << "loop count of the third macro";
    EXPECT_EQ(area[44 + 3], 1) << "its name length";
}

TEST(MacroAreaAction, WordsOfEachKindOfKey) {
    struct Case {
        const char* what;
        MacroAction action;
        std::uint16_t word0;
        std::uint16_t word1;
    };
    const Case cases[] = {
        {"press of A after 120 ms", press(kKeyA, 120), 0xA00C, 0x0402},
        {"press of left Shift", press(kLeftShift), 0xA000, 0x0201},
        {"release of left Shift", release(kLeftShift), 0x2000, 0x0201},
        {"right Windows is a modifier bit", press(0x15C), 0xA000, 0x8001},
        {"mute is a consumer usage", press(0x120, 0), 0xB000, 0x00E2},
        {"longest delay", release(kKeyA, 40000), 0x2000 | 4000, 0x0402},
        {"delay below a step is cut", release(kKeyA, 15), 0x2001, 0x0402},
        {"key without a usage", press(0x7F), 0x8000, 0x0000},
    };
    for (const Case& c : cases) {
        const MacroAreaAction words = encodeMacroAreaAction(c.action);
        EXPECT_EQ(words.word0, c.word0) << c.what;
        EXPECT_EQ(words.word1, c.word1) << c.what;
    }
    EXPECT_EQ(encodeMacroAreaAction({100000, kKeyA, KeyDirection::Release}).word0 & 0x0FFF, 0x0FFF)
        << "a delay beyond the field is held at its largest value, not wrapped";
}

TEST(MacroAreaAction, ReadsBackInTenMillisecondSteps) {
    for (const MacroAction& action : {press(kKeyA, 120), release(kLeftShift, 15), press(0x120, 40000), press(0x7F, 0)}) {
        const MacroAction back = decodeMacroAreaAction(encodeMacroAreaAction(action));
        EXPECT_EQ(back.delayMs, action.delayMs / 10 * 10);
        EXPECT_EQ(back.keyCode, action.keyCode == 0x7F ? 0 : action.keyCode);
        EXPECT_EQ(back.direction, action.direction);
    }
}

TEST(DecodeMacroArea, GivesBackWhatWasBuilt) {
    const MacroList macros = {macroOf(u"ab", 7, 3, {press(kKeyA, 120), release(kKeyA, 40000)}),
                              macroOf(u"Ütf ✓", 9, 255, {press(kLeftShift, 10)}), macroWithActions(u"long", 11, 2000)};
    const auto decoded = decodeMacroArea(buildMacroArea(macros, true), text::BuiltInTexts());
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 3u);
    for (std::size_t i = 0; i < macros.size(); ++i) {
        const MacroRecord& back = (*decoded)[i];
        EXPECT_EQ(macroName(back), macroName(macros[i]));
        EXPECT_EQ(back.id, i + 1) << "ids follow the keyboard's order";
        EXPECT_EQ(back.loopCount, macros[i].loopCount);
        EXPECT_EQ(back.unsaved, 0);
        EXPECT_EQ(back.playMode, 0);
        ASSERT_EQ(back.actionCount, macros[i].actionCount);
        EXPECT_TRUE(std::ranges::equal(macroActions(back), macroActions(macros[i]), [](auto a, auto b) {
            return a.delayMs == b.delayMs && a.keyCode == b.keyCode && a.direction == b.direction;
        }));
    }
}

TEST(DecodeMacroArea, MacrosWithoutNamesAreNumbered) {
    const MacroList macros = {macroOf(u"first", 1, 1, {}), macroOf(u"second", 2, 1, {})};
    const auto decoded = decodeMacroArea(buildMacroArea(macros, false), PrefixTexts());
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 2u);
    EXPECT_EQ(macroName((*decoded)[0]), u"Makro 1");
    EXPECT_EQ(macroName((*decoded)[1]), u"Makro 2");
}

TEST(DecodeMacroArea, RefusesWhatIsNoMacroArea) {
    const text::BuiltInTexts texts;
    EXPECT_FALSE(decodeMacroArea(Bytes(15, 0), texts));
    Bytes wrongMagic = header(16, 0, 1);
    wrongMagic[0] = 0x55;
    EXPECT_FALSE(decodeMacroArea(wrongMagic, texts));
    EXPECT_FALSE(decodeMacroArea(Bytes(4096, 0xFF), texts));
}

// A sound area of two macros, damaged by each case.
struct Damage {
    const char* what;
    std::function<void(Bytes&)> apply;
    std::vector<std::uint16_t> ids;         // the macros that survive
    std::vector<std::uint16_t> actionCounts;
    std::vector<std::u16string> names;
};

TEST(DecodeMacroArea, ReadsOnlyInsideTheBytes) {
    const MacroList macros = {macroOf(u"ab", 1, 1, {press(kKeyA), release(kKeyA)}), macroOf(u"cd", 2, 1, {press(kKeyA)})};
    // Layout: header 16, offsets 20 and 36; entry 0 at 20 (4 + 8 + 4), entry 1 at 36 (4 + 4 + 4), total 48.
    const Damage damages[] = {
        {"intact", [](Bytes&) {}, {1, 2}, {2, 1}, {u"ab", u"cd"}},
        // The third offset is read from entry 0's action count (2): an entry at
        // byte 2 whose action count is the total size (48).
        {"count above the macros", [](Bytes& a) { a[4] = 3; }, {1, 2, 3}, {2, 1, 10}, {u"ab", u"cd", u"Macro3"}},
        {"count beyond the bytes", [](Bytes& a) { a.resize(17); a[4] = 0xFF; a[5] = 0xFF; }, {}, {}, {}},
        {"offset beyond the end", [](Bytes& a) { a[16] = 0xFF; a[17] = 0xFF; }, {2}, {1}, {u"cd"}},
        {"entry header cut by the end", [](Bytes& a) { a[18] = 46; }, {1}, {2}, {u"ab"}},
        {"action count beyond the end", [](Bytes& a) { a[20] = 0xFF; a[21] = 0xFF; }, {1, 2}, {6, 1},
         {u"Macro1", u"cd"}},
        {"name beyond the end", [](Bytes& a) { a[39] = 200; }, {1, 2}, {2, 1}, {u"ab", u"Macro2"}},
        {"area cut inside the last name", [](Bytes& a) { a.resize(46); }, {1, 2}, {2, 1}, {u"ab", u"Macro2"}},
        {"area cut inside the last actions", [](Bytes& a) { a.resize(42); }, {1, 2}, {2, 0}, {u"ab", u"Macro2"}},
    };
    for (const Damage& damage : damages) {
        Bytes area = buildMacroArea(macros, true);
        damage.apply(area);
        const auto decoded = decodeMacroArea(area, text::BuiltInTexts());
        ASSERT_TRUE(decoded) << damage.what;
        ASSERT_EQ(decoded->size(), damage.ids.size()) << damage.what;
        for (std::size_t i = 0; i < decoded->size(); ++i) {
            EXPECT_EQ((*decoded)[i].id, damage.ids[i]) << damage.what;
            EXPECT_EQ((*decoded)[i].actionCount, damage.actionCounts[i]) << damage.what;
            EXPECT_EQ(macroName((*decoded)[i]), damage.names[i]) << damage.what;
        }
    }
}

TEST(DecodeMacroArea, KeepsToTheStoreLimits) {
    // 101 entries that all share one entry claiming 65535 actions.
    Bytes area = header(0, 101, 0);
    const std::size_t entryAt = 16 + 2 * 101;
    for (int i = 0; i < 101; ++i) {
        area.push_back(static_cast<std::uint8_t>(entryAt));
        area.push_back(static_cast<std::uint8_t>(entryAt >> 8));
    }
    area.insert(area.end(), {0xFF, 0xFF, 1, 0});
    for (int i = 0; i < 2100; ++i) area.insert(area.end(), {0x01, 0xA0, 0x02, 0x04});
    const auto decoded = decodeMacroArea(area, text::BuiltInTexts());
    ASSERT_TRUE(decoded);
    ASSERT_EQ(decoded->size(), 100u);
    EXPECT_EQ(decoded->back().id, 100);
    EXPECT_EQ(decoded->back().actionCount, 2000);
    EXPECT_EQ(decoded->back().actions[1999].keyCode, kKeyA);
}

}  // namespace
}  // namespace quillmar::config
