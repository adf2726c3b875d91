#include "profiles/KtvlSettings.h"

#include "text/IniFile.h"

#include <string_view>

namespace quillmar::profiles {
namespace {

constexpr std::string_view kSection = "KEYCOLOR";
constexpr std::string_view kColourFilesPrepared = "usermodeCheck";
constexpr std::string_view kLightingPanelOpen = "DengCheck";

}  // namespace

KtvlSettings::KtvlSettings(std::filesystem::path file) : file_(std::move(file)) {}

bool KtvlSettings::colourFilesPrepared() const {
    return text::readIniNumber(file_, kSection, kColourFilesPrepared, 0) == 1;
}

bool KtvlSettings::markColourFilesPrepared() const {
    return text::writeIniNumber(file_, kSection, kColourFilesPrepared, 1);
}

bool KtvlSettings::lightingPanelOpen() const {
    return text::readIniNumber(file_, kSection, kLightingPanelOpen, 0) == 1;
}

bool KtvlSettings::setLightingPanelOpen(bool open) const {
    return text::writeIniNumber(file_, kSection, kLightingPanelOpen, open ? 1 : 0);
}

}  // namespace quillmar::profiles
