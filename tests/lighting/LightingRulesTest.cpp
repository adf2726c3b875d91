#include "lighting/EffectList.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingEdits.h"
#include "lighting/LightingImages.h"
#include "lighting/LightingSliders.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace quillmar::lighting {
namespace {

using ::testing::ElementsAre;
using Bytes = std::vector<std::uint8_t>;

LightingState stateOfProfile(int profile) {
    LightingState state;
    state.profile = profile;
    state.multicolour = true;
    state.brightness = 2;
    state.speed = 2;
    return state;
}

TEST(EffectSelection, WritesTheIdAndForMarkedEffectsTheMulticolourByte) {
    const std::vector<int> withMulticolour = {1, 2, 3, 5, 7, 8, 9, 13, 14, 15};
    const std::vector<int> idOnly = {4, 6, 10, 11, 12, 16, 17, 18, 20};
    for (int id : withMulticolour) {
        LightingState state = stateOfProfile(1);
        EXPECT_EQ(editEffect(state, id),
                  (LightingWrites{{42, {static_cast<std::uint8_t>(id)}}, {46, {1}}}))
            << "effect " << id;
        EXPECT_EQ(state.effect, id);
    }
    for (int id : idOnly) {
        LightingState state = stateOfProfile(1);
        EXPECT_EQ(editEffect(state, id), (LightingWrites{{42, {static_cast<std::uint8_t>(id)}}}))
            << "effect " << id;
    }
    EXPECT_EQ(withMulticolour.size() + idOnly.size(), effectTable().size());
}

TEST(EffectSelection, MulticolourByteFollowsTheState) {
    LightingState state = stateOfProfile(0);
    state.multicolour = false;
    EXPECT_EQ(editEffect(state, 5), (LightingWrites{{0, {5}}, {4, {0}}}));
}

// Edits that must leave the keyboard and the state alone.
TEST(LightingEdits, NothingToWriteChangesNothing) {
    const std::vector<std::pair<std::string, std::function<LightingWrites(LightingState&)>>> cases = {
        {"unknown effect 19", [](LightingState& s) { return editEffect(s, 19); }},
        {"effect 0", [](LightingState& s) { return editEffect(s, 0); }},
        {"effect 276 (19 in a byte)", [](LightingState& s) { return editEffect(s, 276); }},
        {"brightness at its own position", [](LightingState& s) { return editBrightness(s, 2); }},
        {"speed at its own position", [](LightingState& s) { return editSpeed(s, 2); }},
        {"brightness position 5", [](LightingState& s) { return editBrightness(s, 5); }},
        {"speed position -1", [](LightingState& s) { return editSpeed(s, -1); }},
        {"direction 7", [](LightingState& s) { return editDirection(s, 7); }},
        {"fixed colour 4", [](LightingState& s) { return editFixedColour(s, 4); }},
        {"polling rate -1", [](LightingState& s) { return editPollingRate(s, -1); }},
        {"polling rate 4", [](LightingState& s) { return editPollingRate(s, 4); }},
    };
    for (const auto& [name, edit] : cases) {
        LightingState state = stateOfProfile(0);
        const LightingState before = state;
        EXPECT_TRUE(edit(state).empty()) << name;
        EXPECT_EQ(state, before) << name;
    }
}

TEST(LightingEdits, WithoutAValidProfileNothingIsWritten) {
    for (int profile : {-1, 3, 1000}) {
        LightingState state = stateOfProfile(profile);
        EXPECT_TRUE(editEffect(state, 1).empty());
        EXPECT_TRUE(editColour(state, 0xFF).empty());
        EXPECT_TRUE(editMulticolourToggle(state).empty());
        EXPECT_TRUE(editPollingRate(state, 1).empty());
        EXPECT_TRUE(editDefaults(state).empty());
        EXPECT_EQ(state, stateOfProfile(profile));
    }
}

TEST(LightingEdits, SpeedIsStoredAsFourMinusThePosition) {
    LightingState state = stateOfProfile(2);
    EXPECT_EQ(editSpeed(state, 0), (LightingWrites{{86, {4}}}));
    EXPECT_EQ(editSpeed(state, 4), (LightingWrites{{86, {0}}}));
    EXPECT_EQ(state.speed, 0);
    EXPECT_EQ(editBrightness(state, 0), (LightingWrites{{85, {0}}}));
    EXPECT_EQ(state.brightness, 0);
}

TEST(LightingEdits, ColourSwitchesMulticolourOffBeforeTheThreeBytes) {
    LightingState state = stateOfProfile(2);
    EXPECT_EQ(editColour(state, colourFromRgb(0x12, 0x34, 0x56) | 0xFF000000u),
              (LightingWrites{{88, {0}}, {89, {0x12, 0x34, 0x56}}}));
    EXPECT_FALSE(state.multicolour);
    EXPECT_EQ(state.colour, 0x563412u);
    EXPECT_EQ(editMulticolourToggle(state), (LightingWrites{{88, {1}}}));
    EXPECT_EQ(editMulticolourToggle(state), (LightingWrites{{88, {0}}}));
}

TEST(LightingEdits, DirectionAndRateAreWrittenEvenWhenUnchanged) {
    LightingState state = stateOfProfile(1);
    EXPECT_EQ(editPollingRate(state, 2), (LightingWrites{{57, {2}}}));
    EXPECT_EQ(editPollingRate(state, 2), (LightingWrites{{57, {2}}}));
    EXPECT_EQ(editDirection(state, kDirectionFirst), (LightingWrites{{45, {255}}}));
    EXPECT_EQ(editDirection(state, kDirectionFirst), (LightingWrites{{45, {255}}}));
    EXPECT_EQ(editFixedColour(state, 3), (LightingWrites{{59, {3}}}));
}

TEST(LightingEdits, DefaultsWriteTheRecordAndTheStateShowsIt) {
    LightingState state = stateOfProfile(2);
    state.gridTrigger = true;
    state.fixedColour = 2;
    const auto writes = editDefaults(state);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].address, 84);
    EXPECT_EQ(writes[0].bytes, Bytes(LightingBlock::kDefaultRecord.begin(), LightingBlock::kDefaultRecord.end()));
    EXPECT_THAT(lightingFields(state),
                ElementsAre(std::pair("effect", "1"), std::pair("brightness", "4"), std::pair("speed", "1"),
                            std::pair("direction", "0"), std::pair("multicolour", "1"),
                            std::pair("colour", "FF0000"), std::pair("pollingRate", "3"),
                            std::pair("fixedColour", "0"), std::pair("trigger", "single-key"),
                            std::pair("secondColour", "FFFFFF"), std::pair("secondMulticolour", "0"),
                            std::pair("thirdColour", "FFFFFF"), std::pair("thirdMulticolour", "0")));
    EXPECT_FALSE(state.gridTrigger);
}

LightingRecord recordWith(std::initializer_list<std::pair<std::size_t, std::uint8_t>> bytes) {
    LightingRecord record{};
    for (auto [offset, value] : bytes) record[offset] = value;
    return record;
}

TEST(LightingReadBack, RateFixedColourAndColoursFollowTheRules) {
    LightingState state;
    applyLightingRecord(state, recordWith({{0, 12}, {1, 3}, {2, 4}, {3, 255}, {4, 255},
                                           {5, 0x10}, {6, 0x20}, {7, 0x30}, {15, 255}, {17, 7},
                                           {25, 1}, {26, 2}, {27, 3}, {28, 9}, {32, 0xAB}}));
    EXPECT_EQ(state.pollingRate, 3);
    EXPECT_EQ(state.fixedColour, 0);
    EXPECT_EQ(colourHexText(state.colour), "102030");
    EXPECT_EQ(state.colour, colourFromRgb(0x10, 0x20, 0x30));
    EXPECT_TRUE(state.multicolour);
    EXPECT_EQ(state.secondColour, colourFromRgb(1, 2, 3));
    EXPECT_TRUE(state.secondMulticolour);
    EXPECT_EQ(state.thirdColour, colourFromRgb(0, 0, 0xAB));
    EXPECT_FALSE(state.thirdMulticolour);
    EXPECT_EQ(state.effect, 12);
    EXPECT_EQ(state.direction, 255);

    for (int rate : {0, 3}) {
        applyLightingRecord(state, recordWith({{15, static_cast<std::uint8_t>(rate)}, {17, 3}}));
        EXPECT_EQ(state.pollingRate, rate);
        EXPECT_EQ(state.fixedColour, 3);
    }
}

TEST(LightingReadBack, TriggerByteOtherThanZeroOrOneKeepsBothFlags) {
    LightingState state;
    applyLightingRecord(state, recordWith({{19, 1}}));
    EXPECT_TRUE(state.gridTrigger);
    EXPECT_FALSE(state.singleKeyTrigger);
    applyLightingRecord(state, recordWith({{19, 2}}));
    EXPECT_TRUE(state.gridTrigger);
    EXPECT_FALSE(state.singleKeyTrigger);
    applyLightingRecord(state, recordWith({{19, 0}}));
    EXPECT_TRUE(state.singleKeyTrigger);
    EXPECT_FALSE(state.gridTrigger);
}

TEST(EffectIndexMap, PositionsFollowTheNonEmptySlots) {
    std::array<std::uint8_t, device::kDeviceInfoBytes> info{};
    info[10] = 2;  // the active profile, not an effect
    const std::vector<std::uint8_t> slots = {0, 4, 0, 20, 4, 1};
    std::ranges::copy(slots, info.begin() + 12);
    info[43] = 17;  // the last slot
    const EffectIndexMap map(effectListFromDeviceInfo(info));

    EXPECT_EQ(map.size(), 5);
    EXPECT_THAT((std::vector{map.effectAt(0), map.effectAt(1), map.effectAt(2), map.effectAt(3),
                             map.effectAt(4)}),
                ElementsAre(4, 20, 4, 1, 17));
    EXPECT_EQ(map.positionOf(4), 0);  // the first match
    EXPECT_EQ(map.positionOf(17), 4);
    EXPECT_EQ(map.positionOf(2), -1);
    EXPECT_EQ(map.positionOf(0), -1);
    EXPECT_EQ(map.effectAt(5), 0);
    EXPECT_EQ(map.effectAt(-1), 0);
    EXPECT_EQ(EffectIndexMap().positionOf(1), -1);
}

TEST(EffectTable, VisibleGroupsPerEffect) {
    using namespace control_group;
    constexpr ControlGroups kAlways = kEffectList | kBrightness;
    EXPECT_EQ(visibleControlGroups(1), kAlways | kSpeed | kDirection | kColourA);
    EXPECT_EQ(visibleControlGroups(4), kAlways | kSpeed);
    EXPECT_EQ(visibleControlGroups(6), kAlways | kColourB);
    EXPECT_EQ(visibleControlGroups(12), kAlways | kSpeed | kDirection);
    EXPECT_EQ(visibleControlGroups(17), kAlways | kFixedColours);
    EXPECT_EQ(visibleControlGroups(18), kAlways | kDirection);
    EXPECT_EQ(visibleControlGroups(20), kAlways | kCustomColours);
    EXPECT_EQ(visibleControlGroups(19), kEffectList);
}

TEST(LightingSliders, PositionsAndBackgrounds) {
    EXPECT_EQ(speedSliderPosition(1), 3);
    EXPECT_EQ(speedBackground(speedSliderPosition(1)), 9);  // 10 - speed
    EXPECT_EQ(speedBackground(0), 6);
    EXPECT_EQ(brightnessBackground(4), 4);
    EXPECT_EQ(sliderBackgroundFile(speedBackground(4)), "10.bmp");
    // Absurd values read from a keyboard stay on the slider.
    EXPECT_EQ(speedSliderPosition(200), 0);
    EXPECT_EQ(brightnessSliderPosition(9), 4);
    EXPECT_EQ(speedBackground(-3), 6);
}

TEST(LightingImages, DirectionPairsAndPlacementFollowTheEffect) {
    auto images = directionButtonImages(12, kDirectionFirst);
    EXPECT_EQ(images.first, "updown.bmp");
    EXPECT_EQ(images.second, "downup.bmp");
    images = directionButtonImages(18, kDirectionSecond);
    EXPECT_EQ(images.first, "kuosan.bmp");
    EXPECT_EQ(images.second, "julongdown.bmp");
    images = directionButtonImages(5, kDirectionSecond);
    EXPECT_EQ(images.first, "leftup.bmp");
    EXPECT_EQ(images.second, "rightdown.bmp");

    EXPECT_EQ(directionPlacement(3).first, "CONTROL_BLFXLStaPic2");
    EXPECT_EQ(directionPlacement(12).label, "CONTROL_BLFXStatic3");
    EXPECT_EQ(directionPlacement(18).second, "CONTROL_BLFXRStaPic");
    EXPECT_EQ(fixedColourImage(2, true), "lvok.bmp");
    EXPECT_EQ(fixedColourImage(7, false), "hong.bmp");
}

}  // namespace
}  // namespace quillmar::lighting
