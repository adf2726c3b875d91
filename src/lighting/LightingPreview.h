#pragma once

#include "lighting/Colour.h"
#include "lighting/PreviewTables.h"

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <vector>

namespace quillmar::lighting {

// How a key button looks: its plain skin face, or outlined in a colour.
struct KeyLook {
    bool coloured = false;
    ColourValue colour = 0;
    bool operator==(const KeyLook&) const = default;
};

struct ButtonLook {
    int buttonId = 0;
    KeyLook look;
    bool operator==(const ButtonLook&) const = default;
};

// What a preview step imitates: the current effect and its parameters.
struct PreviewParameters {
    int effect = 0;
    int direction = 0;  // 255 or 0
    ColourValue colour = 0;
    bool multicolour = false;
};

// The on-screen imitation of the keyboard's lighting effect. Every step works
// out the look of each key button and hands the buttons whose look changed
// to the caller, so a window repaints only those. Random choices come from a
// generator seeded at construction, so a run can be replayed step by step.
//
// Chosen here (the keyboard's firmware is only imitated):
// - sparkles (10) light the key sequence in the order k x 37 modulo 105,
//   three keys a step, each with a random entry of the colour table;
// - the colour table of effects 10 and 13 to 16 has 255 entries, entry i
//   being colour wheel entry i x 192 / 255;
// - a ripple (13, 14, 16) is a diamond of cells at one more grid step
//   (left/right plus up/down) from its start cell each step, with one random
//   colour per ripple; it ends when it has left the grid. Effect 13 starts a
//   ripple at a random key every 10 steps; effect 16 starts its next ripple
//   at row 0, column 1 once the last one has ended;
// - effect 14's stages: six keys a step of the key sequence for 20 steps;
//   the pairs (key k, key 104 - k) of the sequence for even k up to 50, one
//   pair a step; a ripple from key 1053; until key 1083 lights; until 1083
//   is dark again;
// - rings (18): the key sequence's keys ordered by distance from the grid's
//   centre (rows counting twice), nine keys a ring.
class LightingPreview {
public:
    using LookSink = std::function<void(std::span<const ButtonLook>)>;

    static constexpr std::uint32_t kDefaultSeed = 0x5EED;
    static constexpr int kEffectSlots = 21;  // effect ids 0 to 20

    explicit LightingPreview(std::uint32_t seed = kDefaultSeed);

    // One step of the effect. The buttons whose look changed go to sink while
    // the effect's busy flag is held: a step that finds the flag set (a
    // nested call from inside the sink) returns at once and changes nothing.
    void PreviewStep(const PreviewParameters& parameters, const LookSink& sink = {});

    // The next step starts the animated effects afresh.
    void ResetPreview();

    // Every preview button back to its plain look; sink gets them all.
    void ShowIdleKeys(const LookSink& sink = {});

    // The key buttons were coloured by someone else (the per-key colours):
    // the next step hands over every button, not only the changed ones.
    void forgetShownLooks() { lookKnown_ = false; }

    // The G-key buttons, the 105 layout key buttons and Fn.
    static std::span<const int> previewButtons();

    KeyLook look(int buttonId) const;
    int phase(int effect) const;
    void setPhase(int effect, int phase);
    bool busy(int effect) const;

private:
    static constexpr int kFirstButtonId = 1000;
    static constexpr int kButtonSlots = 208;  // ids 1000 to 1207
    using Looks = std::array<KeyLook, kButtonSlots>;

    struct Ripple {
        int row;
        int column;
        int radius;
        int colourIndex;
    };
    struct Drop {
        int row;
        int column;
        int colourIndex;
    };
    struct Decay {
        int top;     // from 128
        int second;  // from 64 to 127
    };

    int& phaseOf(int effect);
    int advance(int effect, int step, int modulo, int direction);
    void clearAnimatedState();
    int randomColourIndex();

    void paint(int buttonId, ColourValue colour);
    void paintColumn(int column, ColourValue colour);
    void paintRow(int row, ColourValue colour);
    void paintEveryKey(ColourValue colour);

    void stepColumnWave(const PreviewParameters& p);
    void stepFlowingWave(const PreviewParameters& p);
    void stepSequenceWave(const PreviewParameters& p);
    void stepWholeCycle(const PreviewParameters& p);
    void stepBreathing(const PreviewParameters& p);
    void stepStatic(const PreviewParameters& p);
    void stepSparkles(const PreviewParameters& p);
    void stepKeyCycle();
    void stepRowWave(const PreviewParameters& p);
    void stepRipples(const PreviewParameters& p);
    void stepScript(const PreviewParameters& p);
    void stepDrops(const PreviewParameters& p);
    void stepRings(const PreviewParameters& p);

    void startRipple(int row, int column);
    void spreadRipples();
    void lightCell(int row, int column, int colourIndex);
    void lightKey(int buttonId);
    void decayCells(Decay decay);
    void showCells(const PreviewParameters& p);
    ColourValue cellColour(int cell, const PreviewParameters& p) const;

    void handOver(const LookSink& sink);

    std::mt19937 random_;
    std::array<int, kEffectSlots> phases_{};
    std::array<bool, kEffectSlots> busy_{};
    bool started_ = false;
    bool lookKnown_ = false;

    std::array<int, kKeySequenceLength> sparkleIntensity_{};
    std::array<int, kKeySequenceLength> sparkleColour_{};
    std::array<int, kKeySequenceLength> keyPhases_{};
    bool keyPhasesSet_ = false;
    std::array<int, kGridCells> cellIntensity_{};
    std::array<int, kGridCells> cellColour_{};
    std::vector<Ripple> ripples_;
    std::vector<Drop> drops_;
    int scriptStage_ = 0;
    int scriptStep_ = 0;

    Looks shown_{};
    Looks next_{};
    std::vector<ButtonLook> changes_;
};

}  // namespace quillmar::lighting
