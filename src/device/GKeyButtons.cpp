#include "device/GKeyButtons.h"

#include <string>

namespace quillmar::device {
namespace {

constexpr int kNamedGKeys = 5;
constexpr int kSpareGKeys = 4;
constexpr const char* kPictureNormal = "Skins/main_normal.jpg";
constexpr const char* kPictureOver = "Skins/main_over.jpg";

}  // namespace

void relabelGKeyButtons(MainWindowLink& window, GKeyBank bank) {
    const char16_t letter = bank == GKeyBank::B ? u'B' : u'A';
    for (int i = 0; i < kNamedGKeys; ++i) {
        window.setButtonText(kFirstGKeyButton + i,
                             std::u16string{letter, static_cast<char16_t>(u'1' + i)});
    }
    for (int i = 0; i < kSpareGKeys; ++i) window.setButtonText(kFirstSpareGKeyButton + i, u"");

    // Bank B shows the indicator lit in its first four states.
    const std::string lit = bank == GKeyBank::B ? kPictureOver : kPictureNormal;
    const std::string last = bank == GKeyBank::B ? kPictureNormal : kPictureOver;
    window.setButtonStateImages(kBankIndicatorButton, {lit, lit, lit, lit, last});
}

}  // namespace quillmar::device
