#include "lighting/LightingPreview.h"

#include "keyboard/LayoutKeyList.h"

#include <algorithm>
#include <cstdlib>
#include <numeric>

namespace quillmar::lighting {
namespace {

constexpr int kDirectionForward = 255;

constexpr int kSparkleStride = 37;  // coprime to 105: every key once per round
constexpr int kSparklesPerStep = 3;
constexpr int kColourTableSize = 255;
constexpr int kKeyPhaseStart = 33;
constexpr int kKeyPhaseStep = 3;
constexpr int kRippleInterval = 10;
constexpr int kLongestRipple = kGridRows + kGridColumns;
constexpr int kScriptKeysPerStep = 6;
constexpr int kScriptFirstStageSteps = 20;
constexpr int kScriptPairs = 26;
constexpr int kScriptRippleKey = 1053;
constexpr int kScriptWatchedKey = 1083;
constexpr int kDropsPerStep = 3;
constexpr int kDropSpacing = 3;
constexpr int kDropAdvance = 7;
constexpr int kRingCount = 12;
constexpr int kKeysPerRing = 9;
constexpr int kRingSpacing = 21;

int cellIndex(int row, int column) { return row * kGridColumns + column; }

// The first cell showing the button.
int cellOf(int buttonId) {
    for (int row = 0; row < kGridRows; ++row) {
        for (int column = 0; column < kGridColumns; ++column) {
            if (keyGrid()[row][column] == buttonId) return cellIndex(row, column);
        }
    }
    return -1;
}

int decayed(int intensity, int top, int second) {
    if (intensity >= 128) return intensity - top;
    if (intensity >= 64) return intensity - second;
    if (intensity >= 32) return intensity - 10;
    if (intensity >= 17) return intensity - 5;
    if (intensity >= 1) return intensity - 1;
    return 0;
}

ColourValue colourTableEntry(int index) {
    return colourWheel()[static_cast<std::size_t>(index * kWheelSize / kColourTableSize)];
}

const std::array<int, kKeySequenceLength>& sparkleOrder() {
    static const auto order = [] {
        std::array<int, kKeySequenceLength> keys{};
        for (int k = 0; k < kKeySequenceLength; ++k) keys[k] = k * kSparkleStride % kKeySequenceLength;
        return keys;
    }();
    return order;
}

// Ring number per position of the key sequence.
const std::array<int, kKeySequenceLength>& ringOfKey() {
    static const auto rings = [] {
        std::array<int, kKeySequenceLength> distance{};
        for (int k = 0; k < kKeySequenceLength; ++k) {
            const int cell = cellOf(keySequence()[k]);
            const int dx = 2 * (cell % kGridColumns) - (kGridColumns - 1);  // doubled
            const int dy = 2 * (2 * (cell / kGridColumns) - (kGridRows - 1));
            distance[k] = dx * dx + dy * dy;
        }
        std::array<int, kKeySequenceLength> order{};
        std::iota(order.begin(), order.end(), 0);
        std::ranges::stable_sort(order, {}, [&distance](int k) { return distance[k]; });
        std::array<int, kKeySequenceLength> ring{};
        for (int i = 0; i < kKeySequenceLength; ++i) ring[order[i]] = std::min(i / kKeysPerRing, kRingCount - 1);
        return ring;
    }();
    return rings;
}

const std::array<int, 115>& previewButtonList() {
    static const auto buttons = [] {
        std::array<int, 115> ids{};
        std::size_t i = 0;
        for (int id : keyboard::kGKeyList) ids[i++] = id;
        for (const auto& key : keyboard::kLayoutKeyList) ids[i++] = key.buttonId;
        ids[i] = keyboard::kFnButtonId;
        return ids;
    }();
    return buttons;
}

}  // namespace

LightingPreview::LightingPreview(std::uint32_t seed) : random_(seed) {
    ripples_.reserve(16);
    drops_.reserve(kGridRows * kDropsPerStep + kDropsPerStep);
    changes_.reserve(previewButtonList().size());
}

std::span<const int> LightingPreview::previewButtons() { return previewButtonList(); }

KeyLook LightingPreview::look(int buttonId) const {
    const int slot = buttonId - kFirstButtonId;
    return slot >= 0 && slot < kButtonSlots ? shown_[slot] : KeyLook{};
}

int& LightingPreview::phaseOf(int effect) {
    return phases_[effect >= 0 && effect < kEffectSlots ? effect : 0];
}

int LightingPreview::phase(int effect) const {
    return phases_[effect >= 0 && effect < kEffectSlots ? effect : 0];
}

void LightingPreview::setPhase(int effect, int phase) { phaseOf(effect) = phase; }

bool LightingPreview::busy(int effect) const { return busy_[effect >= 0 && effect < kEffectSlots ? effect : 0]; }

int LightingPreview::advance(int effect, int step, int modulo, int direction) {
    int& phase = phaseOf(effect);
    // A phase left by the other colour mode may lie beyond this modulo.
    phase = (phase % modulo + modulo) % modulo;
    if (direction == kDirectionForward) {
        phase += step;
        if (phase >= modulo) phase -= modulo;
    } else {
        phase -= step;
        if (phase < 0) phase += modulo;
    }
    return phase;
}

void LightingPreview::ResetPreview() { started_ = false; }

void LightingPreview::clearAnimatedState() {
    for (int effect : {10, 13, 14, 15, 16}) phases_[effect] = 0;
    sparkleIntensity_ = {};
    sparkleColour_ = {};
    cellIntensity_ = {};
    cellColour_ = {};
    ripples_.clear();
    drops_.clear();
    scriptStage_ = 0;
    scriptStep_ = 0;
}

int LightingPreview::randomColourIndex() { return static_cast<int>(random_() % kColourTableSize); }

void LightingPreview::ShowIdleKeys(const LookSink& sink) {
    changes_.clear();
    for (int id : previewButtonList()) {
        shown_[id - kFirstButtonId] = {};
        changes_.push_back({id, {}});
    }
    lookKnown_ = true;
    if (sink) sink(changes_);
}

void LightingPreview::PreviewStep(const PreviewParameters& p, const LookSink& sink) {
    bool& busy = busy_[p.effect >= 0 && p.effect < kEffectSlots ? p.effect : 0];
    if (busy) return;
    busy = true;
    struct Release {
        bool& flag;
        ~Release() { flag = false; }
    } release{busy};

    if (!started_) {
        clearAnimatedState();
        started_ = true;
    }
    if (p.effect == 20) {
        // The key buttons show the per-key colours, painted elsewhere.
        lookKnown_ = false;
        return;
    }
    next_ = {};
    switch (p.effect) {
    case 1: stepColumnWave(p); break;
    case 2: stepFlowingWave(p); break;
    case 3: stepSequenceWave(p); break;
    case 4: stepWholeCycle(p); break;
    case 5: stepBreathing(p); break;
    case 6: stepStatic(p); break;
    case 10: stepSparkles(p); break;
    case 11: stepKeyCycle(); break;
    case 12: stepRowWave(p); break;
    case 13:
    case 16: stepRipples(p); break;
    case 14: stepScript(p); break;
    case 15: stepDrops(p); break;
    case 18: stepRings(p); break;
    default: break;  // 7, 8, 9, 17 and effects without a preview: plain keys
    }
    handOver(sink);
}

void LightingPreview::handOver(const LookSink& sink) {
    changes_.clear();
    for (int id : previewButtonList()) {
        const int slot = id - kFirstButtonId;
        if (lookKnown_ && next_[slot] == shown_[slot]) continue;
        shown_[slot] = next_[slot];
        changes_.push_back({id, next_[slot]});
    }
    lookKnown_ = true;
    if (sink && !changes_.empty()) sink(changes_);
}

// ---- Painting ---------------------------------------------------------------

void LightingPreview::paint(int buttonId, ColourValue colour) {
    if (buttonId == kEmptyCell) return;
    next_[buttonId - kFirstButtonId] = {true, colour & 0xFFFFFF};
}

void LightingPreview::paintColumn(int column, ColourValue colour) {
    for (int row = 0; row < kGridRows; ++row) paint(keyGrid()[row][column], colour);
}

void LightingPreview::paintRow(int row, ColourValue colour) {
    for (int id : keyGrid()[row]) paint(id, colour);
}

void LightingPreview::paintEveryKey(ColourValue colour) {
    for (int row = 0; row < kGridRows; ++row) paintRow(row, colour);
}

// ---- The effects --------------------------------------------------------------

void LightingPreview::stepColumnWave(const PreviewParameters& p) {
    if (p.multicolour) {
        const int phase = advance(1, 9, kWheelSize, p.direction);
        for (int c = 0; c < kGridColumns; ++c) paintColumn(c, colourWheel()[(phase + 9 * c) % kWheelSize]);
        return;
    }
    const int phase = advance(1, 7, kWaveCurveSize, p.direction);
    for (int c = 0; c < kGridColumns; ++c)
        paintColumn(c, scaleColour(p.colour, waveCurve()[(phase + 7 * c) % kWaveCurveSize]));
}

void LightingPreview::stepFlowingWave(const PreviewParameters& p) {
    if (p.multicolour) {
        const int phase = advance(2, 4, kWheelSize, p.direction);
        for (int c = 0; c < kGridColumns; ++c) paintColumn(c, colourWheel()[(phase + 5 * c) % kWheelSize]);
        return;
    }
    int index = advance(2, 4, kPulseCurveSize, kDirectionForward);
    for (int c = 0; c < kGridColumns; ++c) {
        paintColumn(c, scaleColour(p.colour, pulseCurve()[index]));
        index = p.direction == kDirectionForward ? (index + 5) % kPulseCurveSize
                                                 : (index - 5 + kPulseCurveSize) % kPulseCurveSize;
    }
}

void LightingPreview::stepSequenceWave(const PreviewParameters& p) {
    const auto& keys = keySequence();
    if (p.multicolour) {
        const int phase = advance(3, 4, kWheelSize, p.direction);
        for (int k = 0; k < kKeySequenceLength; ++k) paint(keys[k], colourWheel()[(phase + 5 * k) % kWheelSize]);
        return;
    }
    const int phase = advance(3, 4, kWaveCurveSize, p.direction);
    for (int k = 0; k < kKeySequenceLength; ++k)
        paint(keys[k], scaleColour(p.colour, waveCurve()[(phase + 5 * k) % kWaveCurveSize]));
}

void LightingPreview::stepWholeCycle(const PreviewParameters& p) {
    paintEveryKey(colourWheel()[advance(4, 2, kWheelSize, p.direction)]);
}

void LightingPreview::stepBreathing(const PreviewParameters& p) {
    const int intensity = breathingCurve()[advance(5, 2, kBreathingCurveSize, kDirectionForward)];
    for (int c = 0; c < kGridColumns; ++c) {
        const ColourValue colour = p.multicolour ? colourWheel()[(7 * c) % kWheelSize] : p.colour;
        paintColumn(c, scaleColour(colour, intensity));
    }
}

void LightingPreview::stepStatic(const PreviewParameters& p) {
    if (!p.multicolour) {
        paintEveryKey(p.colour);
        return;
    }
    int entry = 0;
    for (int c = 0; c < kGridColumns; ++c) {
        paintColumn(c, colourWheel()[entry]);
        entry += 9;
        if (entry >= kWheelSize) entry = 0;
    }
}

void LightingPreview::stepSparkles(const PreviewParameters& p) {
    int& next = phaseOf(10);
    for (int i = 0; i < kSparklesPerStep; ++i) {
        const int key = sparkleOrder()[next % kKeySequenceLength];
        sparkleIntensity_[key] = 255;
        sparkleColour_[key] = randomColourIndex();
        next = (next + 1) % kKeySequenceLength;
    }
    for (int k = 0; k < kKeySequenceLength; ++k) {
        int& intensity = sparkleIntensity_[k];
        intensity = decayed(intensity, 20, 16);
        if (intensity == 0) continue;
        const ColourValue colour = p.multicolour ? colourTableEntry(sparkleColour_[k]) : p.colour;
        paint(keySequence()[k], scaleColour(colour, intensity));
    }
}

void LightingPreview::stepKeyCycle() {
    if (!keyPhasesSet_) {
        int phase = kKeyPhaseStart;
        for (int& keyPhase : keyPhases_) {
            keyPhase = phase;
            phase += kKeyPhaseStart;
            if (phase > kWheelSize) phase -= kWheelSize;
        }
        keyPhasesSet_ = true;
    }
    for (int k = 0; k < kKeySequenceLength; ++k) {
        int& phase = keyPhases_[k];
        phase += kKeyPhaseStep;
        if (phase >= kWheelSize) phase = 0;
        paint(keySequence()[k], colourWheel()[phase]);
    }
}

void LightingPreview::stepRowWave(const PreviewParameters& p) {
    const int phase = advance(12, 3, kWheelSize, p.direction);
    for (int r = 0; r < kGridRows; ++r) paintRow(r, colourWheel()[(phase + 32 * r) % kWheelSize]);
}

void LightingPreview::startRipple(int row, int column) {
    const int colourIndex = randomColourIndex();
    ripples_.push_back({row, column, -1, colourIndex});
}

void LightingPreview::lightCell(int row, int column, int colourIndex) {
    if (row < 0 || row >= kGridRows || column < 0 || column >= kGridColumns) return;
    const int cell = cellIndex(row, column);
    cellIntensity_[cell] = 255;
    cellColour_[cell] = colourIndex;
}

void LightingPreview::spreadRipples() {
    for (Ripple& ripple : ripples_) {
        ++ripple.radius;
        for (int dy = -ripple.radius; dy <= ripple.radius; ++dy) {
            const int across = ripple.radius - std::abs(dy);
            lightCell(ripple.row + dy, ripple.column - across, ripple.colourIndex);
            if (across != 0) lightCell(ripple.row + dy, ripple.column + across, ripple.colourIndex);
        }
    }
    std::erase_if(ripples_, [](const Ripple& ripple) { return ripple.radius >= kLongestRipple; });
}

void LightingPreview::decayCells(Decay decay) {
    for (int& intensity : cellIntensity_) intensity = decayed(intensity, decay.top, decay.second);
}

ColourValue LightingPreview::cellColour(int cell, const PreviewParameters& p) const {
    const ColourValue colour = p.multicolour ? colourTableEntry(cellColour_[cell]) : p.colour;
    return scaleColour(colour, cellIntensity_[cell]);
}

void LightingPreview::showCells(const PreviewParameters& p) {
    for (int cell = 0; cell < kGridCells; ++cell) {
        if (cellIntensity_[cell] == 0) continue;
        paint(keyGrid()[cell / kGridColumns][cell % kGridColumns], cellColour(cell, p));
    }
}

void LightingPreview::stepRipples(const PreviewParameters& p) {
    int& steps = phaseOf(p.effect);
    if (p.effect == 16) {
        if (ripples_.empty()) startRipple(0, 1);
    } else if (steps == 0) {
        int cell = 0;
        do {
            cell = static_cast<int>(random_() % kGridCells);
        } while (keyGrid()[cell / kGridColumns][cell % kGridColumns] == kEmptyCell);
        startRipple(cell / kGridColumns, cell % kGridColumns);
    }
    if (p.effect != 16) steps = (steps + 1) % kRippleInterval;
    spreadRipples();
    decayCells({20, 16});
    showCells(p);
}

void LightingPreview::lightKey(int buttonId) {
    const int cell = cellOf(buttonId);
    if (cell >= 0) lightCell(cell / kGridColumns, cell % kGridColumns, randomColourIndex());
}

void LightingPreview::stepScript(const PreviewParameters& p) {
    static const int watchedCell = cellOf(kScriptWatchedKey);
    static const int rippleCell = cellOf(kScriptRippleKey);
    const auto& keys = keySequence();
    switch (scriptStage_) {
    case 0:
        for (int i = 0; i < kScriptKeysPerStep; ++i)
            lightKey(keys[(kScriptKeysPerStep * scriptStep_ + i) % kKeySequenceLength]);
        if (++scriptStep_ == kScriptFirstStageSteps) scriptStage_ = 1, scriptStep_ = 0;
        break;
    case 1:
        lightKey(keys[2 * scriptStep_]);
        lightKey(keys[kKeySequenceLength - 1 - 2 * scriptStep_]);
        if (++scriptStep_ == kScriptPairs) scriptStage_ = 2, scriptStep_ = 0;
        break;
    case 2:
        startRipple(rippleCell / kGridColumns, rippleCell % kGridColumns);
        scriptStage_ = 3;
        break;
    case 3: break;  // until the ripple reaches the watched key
    default:
        if (cellIntensity_[watchedCell] == 0) scriptStage_ = 0;
        break;
    }
    spreadRipples();
    if (scriptStage_ == 3 && cellIntensity_[watchedCell] == 255) scriptStage_ = 4;
    decayCells({30, 20});
    showCells(p);
}

void LightingPreview::stepDrops(const PreviewParameters& p) {
    int& firstColumn = phaseOf(15);
    for (Drop& drop : drops_) ++drop.row;
    std::erase_if(drops_, [](const Drop& drop) { return drop.row >= kGridRows; });
    for (int i = 0; i < kDropsPerStep; ++i)
        drops_.push_back({0, (firstColumn + kDropSpacing * i) % kGridColumns, randomColourIndex()});
    firstColumn = (firstColumn + kDropAdvance) % kGridColumns;
    for (const Drop& drop : drops_) lightCell(drop.row, drop.column, drop.colourIndex);
    decayCells({20, 16});
    showCells(p);
}

void LightingPreview::stepRings(const PreviewParameters& p) {
    const int phase = advance(18, 2, kWheelSize, p.direction);
    for (int k = 0; k < kKeySequenceLength; ++k) {
        const int ring = ringOfKey()[k];
        paint(keySequence()[k], colourWheel()[(phase + kRingSpacing * (ring + 1)) % kWheelSize]);
    }
}

}  // namespace quillmar::lighting
