#include "profiles/UserColourFiles.h"

#include "profiles/UserColourFileKeys.h"
#include "text/DecimalText.h"
#include "text/IniFile.h"
#include "text/Utf.h"

#include <algorithm>
#include <array>

namespace quillmar::profiles {
namespace {

using namespace colourfile;

bool validFile(int n) { return n >= 0 && n < kColourFileCount; }

int component(int value) { return std::clamp(value, 0, 255); }

ColourValue packColour(int red, int green, int blue) {
    return static_cast<ColourValue>(component(red)) |
           static_cast<ColourValue>(component(green)) << 8 |
           static_cast<ColourValue>(component(blue)) << 16;
}

std::array<int, 3> unpackColour(ColourValue colour) {
    return {static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
            static_cast<int>((colour >> 16) & 0xFF)};
}

ColourValue parseColour(std::string_view text) {
    std::array<int, 3> fields{};
    text::scanDecimalList(text, fields);
    return packColour(fields[0], fields[1], fields[2]);
}

std::string formatColour(ColourValue colour) { return text::formatDecimalList(unpackColour(colour)); }

}  // namespace

UserColourFiles::UserColourFiles(UserFolder folder) : folder_(std::move(folder)) {}

int UserColourFiles::readPresentScheme(int n) const {
    if (!validFile(n)) return 0;
    const int scheme = text::readIniNumber(folder_.colourFile(n), kPresentSection, kPresentKey, 0);
    return scheme >= 0 && scheme < kSchemeCount ? scheme : 0;
}

bool UserColourFiles::writePresentScheme(int n, int scheme) const {
    return validFile(n) && text::writeIniNumber(folder_.colourFile(n), kPresentSection, kPresentKey, scheme);
}

std::u16string UserColourFiles::readSchemeName(int n, int scheme) const {
    if (!validFile(n)) return u"0";
    return text::toUtf16(text::readIniString(folder_.colourFile(n), kNamesSection, std::to_string(scheme), "0"));
}

bool UserColourFiles::writeSchemeName(int n, int scheme, std::u16string_view name) const {
    return validFile(n) && text::writeIniString(folder_.colourFile(n), kNamesSection,
                                          std::to_string(scheme), text::toUtf8(name));
}

KeyColour UserColourFiles::readKeyColour(int n, int scheme, int position) const {
    std::string text(kKeyColourDefault);
    if (validFile(n)) {
        text = text::readIniString(folder_.colourFile(n), schemeSection(scheme), std::to_string(position),
                             kKeyColourDefault);
    }
    std::array<int, 4> fields{};
    text::scanDecimalList(text, fields);
    return {packColour(fields[0], fields[1], fields[2]), fields[3] != 0};
}

bool UserColourFiles::writeKeyColour(int n, int scheme, int position, KeyColour colour) const {
    const auto [red, green, blue] = unpackColour(colour.colour);
    const std::array<int, 4> fields{red, green, blue, colour.followsBaseColour ? 1 : 0};
    return validFile(n) && text::writeIniString(folder_.colourFile(n), schemeSection(scheme),
                                          std::to_string(position), text::formatDecimalList(fields));
}

SchemeSettings UserColourFiles::readSchemeSettings(int n, int scheme) const {
    if (!validFile(n)) return {};
    const std::filesystem::path file = folder_.colourFile(n);
    const std::string section = schemeSection(scheme);
    return {text::readIniNumber(file, section, kToolKey, 0),
            parseColour(text::readIniString(file, section, kBaseColourKey, kColourDefault)),
            parseColour(text::readIniString(file, section, kPaintColourKey, kColourDefault))};
}

bool UserColourFiles::writeSchemeSettings(int n, int scheme, const SchemeSettings& settings) const {
    if (!validFile(n)) return false;
    const std::filesystem::path file = folder_.colourFile(n);
    const std::string section = schemeSection(scheme);
    // All three are attempted, as each stands alone in the file.
    const bool tool = text::writeIniNumber(file, section, kToolKey, settings.tool);
    const bool base = text::writeIniString(file, section, kBaseColourKey, formatColour(settings.baseColour));
    const bool paint =
        text::writeIniString(file, section, kPaintColourKey, formatColour(settings.paintColour));
    return tool && base && paint;
}

}  // namespace quillmar::profiles
