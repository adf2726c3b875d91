#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "config/MacroList.h"
#include "config/MacroRecord.h"

namespace quillmar::config {
namespace {

struct NameCase {
    const char* what;
    std::u16string input;
    std::u16string stored;
};

std::u16string units(std::size_t count, char16_t unit = u'a') { return std::u16string(count, unit); }

TEST(MacroRecordTest, NameIsCutTo249UnitsWithoutSplittingASurrogatePair) {
    const std::u16string pair = u"\U0001F600";  // two code units
    const NameCase cases[] = {
        {"short name", u"Macro1", u"Macro1"},
        {"exactly 249", units(249), units(249)},
        {"300 units", units(300), units(249)},
        {"pair straddling the cut", units(248) + pair + u"b", units(248)},
        {"pair ending at the cut", units(247) + pair + u"b", units(247) + pair},
        {"pair ending exactly at 249", units(247) + pair, units(247) + pair},
    };
    auto record = std::make_unique<MacroRecord>();
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        record->name.fill(u'x');
        setMacroName(*record, c.input);
        EXPECT_EQ(macroName(*record), c.stored);
        EXPECT_EQ(record->name[c.stored.size()], u'\0') << "the rest of the field is cleared";
        EXPECT_EQ(record->name.back(), u'\0');
    }
}

TEST(MacroRecordTest, NameWithoutTerminatorIsReadAsAtMost249Units) {
    auto record = std::make_unique<MacroRecord>();
    record->name.fill(u'z');
    EXPECT_EQ(macroName(*record), units(249, u'z'));
}

TEST(MacroRecordTest, The2001stActionIsNotAdded) {
    auto record = std::make_unique<MacroRecord>();
    for (int i = 0; i < kMaxMacroActions; ++i) {
        ASSERT_TRUE(appendMacroAction(*record, {10, 0x1E, KeyDirection::Press}));
    }
    EXPECT_FALSE(appendMacroAction(*record, {10, 0x30, KeyDirection::Press}));
    EXPECT_EQ(record->actionCount, kMaxMacroActions);
    EXPECT_EQ(macroActions(*record).back().keyCode, 0x1E);
}

TEST(MacroRecordTest, ActionsAreStoredWithCappedDelayAndKnownDirection) {
    auto record = std::make_unique<MacroRecord>();
    appendMacroAction(*record, {50000, 0x1E, static_cast<KeyDirection>(7)});
    appendMacroAction(*record, {40000, 0x1E, KeyDirection::Release});
    const auto actions = macroActions(*record);
    ASSERT_EQ(actions.size(), 2u);
    EXPECT_EQ(actions[0].delayMs, kMaxActionDelayMs);
    EXPECT_EQ(actions[0].direction, KeyDirection::Press);
    EXPECT_EQ(actions[1].delayMs, 40000u);
    EXPECT_EQ(actions[1].direction, KeyDirection::Release);
}

TEST(MacroRecordTest, NormalisingARecordFromAFileBoundsItsActions) {
    auto record = std::make_unique<MacroRecord>();
    record->actionCount = 65535;
    record->actions.fill({90000, 0x1E, KeyDirection::Release});
    record->name.fill(u'n');
    record->reserved1 = 9;
    normaliseMacroRecord(*record);
    EXPECT_EQ(record->actionCount, kMaxMacroActions);
    EXPECT_EQ(macroActions(*record).size(), static_cast<std::size_t>(kMaxMacroActions));
    EXPECT_EQ(record->actions.back().delayMs, kMaxActionDelayMs);
    EXPECT_EQ(record->name.back(), u'\0');
    EXPECT_EQ(record->reserved1, 0);
}

TEST(MacroRecordTest, SettingFewerActionsClearsTheSlotsBehindThem) {
    auto record = std::make_unique<MacroRecord>();
    record->actions.fill({100, 0x1E, KeyDirection::Release});
    const MacroAction two[] = {{10, 0x2A, KeyDirection::Press}, {0, 0x2A, KeyDirection::Release}};
    setMacroActions(*record, two);
    EXPECT_EQ(record->actionCount, 2);
    EXPECT_EQ(record->actions[2].keyCode, 0);
    EXPECT_EQ(record->actions.back().delayMs, 0u);
}

}  // namespace
}  // namespace quillmar::config
