// The on-screen lighting preview: the worked steps of the effects, what a
// step hands to the window, and a replayed run of a random effect.

#include "lighting/LightingPreview.h"

#include "keyboard/LayoutKeyList.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <vector>

namespace quillmar::lighting {
namespace {

constexpr ColourValue kRed = colourFromRgb(255, 0, 0);
constexpr ColourValue kTeal = colourFromRgb(0, 200, 100);

std::vector<ButtonLook> stepOnce(LightingPreview& preview, const PreviewParameters& parameters) {
    std::vector<ButtonLook> handed;
    preview.PreviewStep(parameters, [&handed](std::span<const ButtonLook> looks) {
        handed.assign(looks.begin(), looks.end());
    });
    return handed;
}

std::vector<int> gridKeys() {
    std::vector<int> keys;
    for (const auto& row : keyGrid())
        for (int id : row)
            if (id != kEmptyCell) keys.push_back(id);
    return keys;
}

TEST(PreviewTables, CurvesAndWheelHaveTheirShape) {
    EXPECT_EQ(colourWheel()[0], colourFromRgb(255, 1, 0));
    EXPECT_EQ(colourWheel()[63], colourFromRgb(0, 255, 0));
    EXPECT_EQ(colourWheel()[191], colourFromRgb(255, 0, 0));
    EXPECT_EQ(waveCurve()[47], 255);
    EXPECT_EQ(waveCurve()[48], 255);
    EXPECT_EQ(waveCurve()[95], 22);
    EXPECT_EQ(breathingCurve()[127], 3);
    EXPECT_EQ(pulseCurve()[79], 1);
    EXPECT_EQ(pulseCurve()[80], 0);
    // Every preview key is a layout key or Fn, each once in the sequence.
    std::vector<int> seen(keySequence().begin(), keySequence().end());
    std::ranges::sort(seen);
    EXPECT_EQ(std::ranges::adjacent_find(seen), seen.end());
    EXPECT_EQ(std::ranges::count(seen, 1087), 0);
    EXPECT_EQ(std::ranges::count(seen, keyboard::kFnButtonId), 1);
}

TEST(LightingPreview, WholeKeyboardCycleWrapsToTheFirstWheelEntry) {
    LightingPreview preview;
    preview.setPhase(4, 190);
    const auto handed = stepOnce(preview, {4, 255, 0, false});
    EXPECT_EQ(preview.phase(4), 0);
    for (int id : gridKeys()) EXPECT_EQ(preview.look(id), (KeyLook{true, colourFromRgb(255, 1, 0)})) << id;
    // G-keys and the right Windows key are not on the grid: they stay plain.
    EXPECT_EQ(preview.look(keyboard::kGKeyList[0]), KeyLook{});
    EXPECT_EQ(preview.look(1087), KeyLook{});
    EXPECT_EQ(handed.size(), LightingPreview::previewButtons().size());
}

TEST(LightingPreview, SingleColourColumnWaveRunsBackwardsForDirectionZero) {
    LightingPreview preview;
    preview.setPhase(1, 3);
    stepOnce(preview, {1, 0, kTeal, false});
    EXPECT_EQ(preview.phase(1), 92);
    for (int column = 0; column < kGridColumns; ++column) {
        const ColourValue expected = scaleColour(kTeal, waveCurve()[(92 + 7 * column) % 96]);
        for (int row = 0; row < kGridRows; ++row) {
            const int id = keyGrid()[row][column];
            // A key two cells wide shows the colour of its right cell.
            if (id == kEmptyCell || (column + 1 < kGridColumns && keyGrid()[row][column + 1] == id)) continue;
            EXPECT_EQ(preview.look(id), (KeyLook{true, expected})) << row << "," << column;
        }
    }
}

TEST(LightingPreview, PhasesAdvancePerEffectAndDirection) {
    struct Case {
        int effect;
        int direction;
        bool multicolour;
        int from;
        int to;
    };
    const Case cases[] = {
        {1, 255, true, 190, 7},  {1, 0, true, 2, 185},   {2, 0, false, 126, 2},  {2, 255, true, 190, 2},
        {3, 255, false, 94, 2},  {5, 0, false, 127, 1},  {12, 0, true, 1, 190},  {18, 255, true, 191, 1},
        {1, 255, false, 150, 61},  // a phase left by the multicolour wave comes back into range
    };
    for (const Case& c : cases) {
        LightingPreview preview;
        preview.setPhase(c.effect, c.from);
        stepOnce(preview, {c.effect, c.direction, kRed, c.multicolour});
        EXPECT_EQ(preview.phase(c.effect), c.to) << "effect " << c.effect << " from " << c.from;
    }
}

TEST(LightingPreview, EffectsWithoutPreviewShowPlainKeysAndPerKeyColoursAreLeftAlone) {
    for (int idle : {7, 8, 9, 17, 19}) {
        LightingPreview preview;
        stepOnce(preview, {4, 255, 0, false});
        stepOnce(preview, {idle, 255, kRed, false});
        for (int id : LightingPreview::previewButtons()) EXPECT_EQ(preview.look(id), KeyLook{}) << idle << ":" << id;
    }
    LightingPreview preview;
    stepOnce(preview, {6, 255, kRed, false});
    int handedOver = 0;
    preview.PreviewStep({20, 255, kTeal, false}, [&](std::span<const ButtonLook>) { ++handedOver; });
    EXPECT_EQ(handedOver, 0);
    EXPECT_EQ(preview.look(1058), (KeyLook{true, kRed}));
    // Back from the per-key colours, every button is handed over again.
    EXPECT_EQ(stepOnce(preview, {6, 255, kRed, false}).size(), LightingPreview::previewButtons().size());
}

TEST(LightingPreview, OnlyChangedButtonsAreHandedOver) {
    LightingPreview preview;
    EXPECT_FALSE(stepOnce(preview, {6, 255, kRed, false}).empty());
    EXPECT_TRUE(stepOnce(preview, {6, 255, kRed, false}).empty());
    const auto handed = stepOnce(preview, {6, 255, kTeal, false});
    EXPECT_EQ(handed.size(), gridKeys().size() - 6);  // six keys span two cells
}

TEST(LightingPreview, AStepThatFindsItsEffectBusyChangesNothing) {
    LightingPreview preview;
    preview.setPhase(4, 10);
    int nestedHandOvers = 0;
    preview.PreviewStep({4, 255, 0, false}, [&](std::span<const ButtonLook>) {
        EXPECT_TRUE(preview.busy(4));
        preview.PreviewStep({4, 255, 0, false}, [&](std::span<const ButtonLook>) { ++nestedHandOvers; });
        EXPECT_EQ(preview.phase(4), 12);
        EXPECT_EQ(preview.look(1058), (KeyLook{true, colourWheel()[12]}));
    });
    EXPECT_EQ(nestedHandOvers, 0);
    EXPECT_FALSE(preview.busy(4));
}

TEST(LightingPreview, KeysOfTheColourCycleStartThirtyThreeApart) {
    LightingPreview preview;
    stepOnce(preview, {11, 255, 0, false});
    EXPECT_EQ(preview.look(keySequence()[0]), (KeyLook{true, colourWheel()[36]}));
    EXPECT_EQ(preview.look(keySequence()[5]), (KeyLook{true, colourWheel()[(6 * 33 - 192) + 3]}));
}

TEST(LightingPreview, SparklesDecayFromFullIntensity) {
    LightingPreview preview;
    stepOnce(preview, {10, 255, kRed, false});
    // The first three of the sparkle order: sequence positions 0, 37 and 74.
    for (int k : {0, 37, 74}) EXPECT_EQ(preview.look(keySequence()[k]), (KeyLook{true, scaleColour(kRed, 235)}));
    stepOnce(preview, {10, 255, kRed, false});
    EXPECT_EQ(preview.look(keySequence()[0]), (KeyLook{true, scaleColour(kRed, 215)}));
    int lit = 0;
    for (int id : keySequence()) lit += preview.look(id).coloured ? 1 : 0;
    EXPECT_EQ(lit, 6);
}

// A recording of a whole run: every hand-over of every step.
std::vector<std::vector<ButtonLook>> record(LightingPreview& preview, const PreviewParameters& parameters, int steps) {
    std::vector<std::vector<ButtonLook>> run;
    for (int i = 0; i < steps; ++i) run.push_back(stepOnce(preview, parameters));
    return run;
}

TEST(LightingPreview, ASeededRunOfARandomEffectReplaysStepByStep) {
    for (int effect : {10, 13, 14, 15, 16}) {
        LightingPreview first(42);
        LightingPreview second(42);
        const auto run = record(first, {effect, 255, 0, true}, 120);
        EXPECT_EQ(run, record(second, {effect, 255, 0, true}, 120)) << effect;
        LightingPreview other(43);
        EXPECT_NE(run, record(other, {effect, 255, 0, true}, 120)) << effect;
    }
}

TEST(LightingPreview, ResetStartsTheAnimatedEffectsAfresh) {
    LightingPreview fresh;
    fresh.ShowIdleKeys();
    const auto expected = record(fresh, {15, 255, kRed, false}, 8);
    LightingPreview used;
    record(used, {15, 255, kRed, false}, 13);
    used.ResetPreview();
    used.ShowIdleKeys();
    EXPECT_EQ(record(used, {15, 255, kRed, false}, 8), expected);
}

TEST(LightingPreview, ScriptedSequenceReachesItsRippleAndStartsOver) {
    LightingPreview preview;
    bool rippleReachedCtrl = false;
    bool allDarkAgain = false;
    for (int step = 0; step < 400 && !allDarkAgain; ++step) {
        stepOnce(preview, {14, 255, kRed, false});
        if (step > 46 && preview.look(1083).coloured) rippleReachedCtrl = true;
        if (rippleReachedCtrl && !preview.look(1083).coloured) allDarkAgain = true;
    }
    EXPECT_TRUE(rippleReachedCtrl);
    EXPECT_TRUE(allDarkAgain);
}

TEST(LightingPreview, ShowIdleKeysHandsOverEveryButtonPlain) {
    LightingPreview preview;
    stepOnce(preview, {6, 255, kRed, false});
    std::vector<ButtonLook> handed;
    preview.ShowIdleKeys([&](std::span<const ButtonLook> looks) { handed.assign(looks.begin(), looks.end()); });
    ASSERT_EQ(handed.size(), 115u);
    for (const ButtonLook& look : handed) EXPECT_FALSE(look.look.coloured);
}

}  // namespace
}  // namespace quillmar::lighting
