#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace quillmar::shell::main_window {

// Which state pictures a skinned control of the main window cuts its faces
// from.
enum class FaceSet {
    Plain,       // window buttons, default profile, macro edit, OK, Cancel
    Apply,       // shows the assigned-look picture while disabled
    Link,        // pressed look from the assigned-look picture
    Selectable,  // profile, restore, Switch, rate, Fn, Flip1, Flip2
    Flip0,       // shows only whether Flip mode 1 is on
    Light,       // Caps, Num, Scroll, AB: lit when selected
    Version,     // always the plain picture
    Key,         // G-keys and key buttons: selected is the assigned look
    ExtraKey,    // D1..D6, from the pictures of Flip mode 1
};

struct SkinnedControl {
    int id;
    std::string skinKey;
    FaceSet faces;
};

// Normal, over, down, disabled and selected picture of a face set, as paths
// relative to the program directory.
std::array<std::string, 5> picturesOf(FaceSet faces);

// The pictures the window cannot start without.
std::vector<std::string_view> requiredMainPictures();

// The pictures of D1..D6; without them those keys stay blank.
std::vector<std::string_view> extraKeyPictures();

// Every skinned control of the main window with its skin key: the window's
// own buttons, the nine G-keys, the 105 key buttons in layout order, Fn and
// D1..D6.
std::vector<SkinnedControl> mainSkinnedControls();

// Controls of the lighting panel, placed by their skin key without faces.
struct PlacedControl {
    int id;
    std::string_view skinKey;
};
std::vector<PlacedControl> lightingPanelControls();

// The Flip arrows: position key, and the "BUTTONINFO2" key stems of their
// picture in Arrow.jpg for Flip mode 1 ("UP") and 0 ("DOWN").
struct ArrowControl {
    int id;
    std::string_view skinKey;
    std::string_view flipOnImageKey;
    std::string_view flipOffImageKey;
};
std::array<ArrowControl, 2> flipArrows();

inline constexpr std::string_view kButtonSection = "BUTTONINFO";
inline constexpr std::string_view kArrowSection = "BUTTONINFO2";
inline constexpr std::string_view kScreenSection = "SCREEN";
inline constexpr std::string_view kArrowPicture = "Skins/Arrow.jpg";

}  // namespace quillmar::shell::main_window
