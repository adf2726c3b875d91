#include "lighting/LightingImages.h"

#include "lighting/EffectTable.h"
#include "lighting/LightingBlock.h"

#include <array>

namespace quillmar::lighting {
namespace {

// Plain and selected picture of each button of a direction pair.
struct PairPictures {
    std::string_view firstPlain, firstSelected, secondPlain, secondSelected;
};

constexpr PairPictures kLeftRight{"leftup.bmp", "leftdown.bmp", "rightup.bmp", "rightdown.bmp"};
constexpr PairPictures kUpDown{"upup.bmp", "updown.bmp", "downup.bmp", "downdown.bmp"};
constexpr PairPictures kSpreadGather{"kuosan.bmp", "kuosandown.bmp", "julong.bmp", "julongdown.bmp"};

DirectionMeaning directionMeaning(int effectId) {
    const EffectInfo* effect = findEffect(effectId);
    return effect ? effect->direction : DirectionMeaning::None;
}

}  // namespace

DirectionButtonImages directionButtonImages(int effectId, int direction) {
    const DirectionMeaning meaning = directionMeaning(effectId);
    const PairPictures& pair = meaning == DirectionMeaning::UpDown         ? kUpDown
                               : meaning == DirectionMeaning::SpreadGather ? kSpreadGather
                                                                           : kLeftRight;
    if (direction == kDirectionFirst) return {pair.firstSelected, pair.secondPlain};
    if (direction == kDirectionSecond) return {pair.firstPlain, pair.secondSelected};
    return {pair.firstPlain, pair.secondPlain};
}

DirectionPlacement directionPlacement(int effectId) {
    switch (directionMeaning(effectId)) {
    case DirectionMeaning::LeftRight:
        return {"CONTROL_BLFXStatic2", "CONTROL_BLFXLStaPic2", "CONTROL_BLFXRStaPic2"};
    case DirectionMeaning::UpDown:
        return {"CONTROL_BLFXStatic3", "CONTROL_BLFXLStaPic3", "CONTROL_BLFXRStaPic3"};
    default:
        return {"CONTROL_BLFXStatic", "CONTROL_BLFXLStaPic", "CONTROL_BLFXRStaPic"};
    }
}

std::string_view fixedColourImage(int fixedColour, bool selected) {
    static constexpr std::array<std::array<std::string_view, 2>, kFixedColourCount> kPictures{{
        {"hong.bmp", "hongok.bmp"},
        {"huang.bmp", "huangok.bmp"},
        {"lv.bmp", "lvok.bmp"},
        {"lan.bmp", "lanok.bmp"},
    }};
    const bool known = fixedColour >= 0 && fixedColour < kFixedColourCount;
    return kPictures[known ? fixedColour : 0][selected ? 1 : 0];
}

std::string_view lampImage(bool panelOpen) { return panelOpen ? "dengdown.bmp" : "dengup.bmp"; }

std::string_view multicolourCheckboxImage(bool on) { return on ? "sjsdown.bmp" : "sjsup.bmp"; }

}  // namespace quillmar::lighting
