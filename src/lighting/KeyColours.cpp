#include "lighting/KeyColours.h"

#include "device/KeyboardLock.h"
#include "device/ResultCode.h"
#include "keyboard/KeyButtons.h"
#include "keyboard/LayoutKeyList.h"
#include "lighting/LightingBlock.h"
#include "profiles/UserColourFileKeys.h"
#include "text/AtomicFile.h"
#include "text/DecimalText.h"
#include "text/IniDocument.h"
#include "text/Utf.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quillmar::lighting {
namespace {

using namespace profiles::colourfile;
constexpr int kTemplateFile = 3;
constexpr int kNothingToDo = 2;

ColourValue parseColour(std::string_view text) {
    std::array<int, 3> fields{};
    text::scanDecimalList(text, fields);
    const auto component = [](int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); };
    return colourFromRgb(component(fields[0]), component(fields[1]), component(fields[2]));
}

std::string formatColour(ColourValue colour) {
    const auto rgb = rgbBytes(colour);
    return text::formatDecimalList(std::array<int, 3>{rgb[0], rgb[1], rgb[2]});
}

std::string formatKeyColour(profiles::KeyColour colour) {
    const auto rgb = rgbBytes(colour.colour);
    return text::formatDecimalList(std::array<int, 4>{rgb[0], rgb[1], rgb[2], colour.followsBaseColour ? 1 : 0});
}

profiles::KeyColour parseKeyColour(std::string_view text) {
    std::array<int, 4> fields{};
    text::scanDecimalList(text, fields);
    const auto component = [](int value) { return static_cast<std::uint8_t>(std::clamp(value, 0, 255)); };
    return {colourFromRgb(component(fields[0]), component(fields[1]), component(fields[2])), fields[3] != 0};
}

// Every lighting position a key button shows, with the buttons showing it.
std::vector<int> litPositions() {
    std::vector<int> positions;
    for (const auto& key : keyboard::kLayoutKeyList) positions.push_back(key.lightingPosition);
    positions.push_back(keyboard::kGKeyLightingPosition);
    positions.push_back(keyboard::kFnLightingPosition);
    return positions;
}

std::optional<std::string> readWholeFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(content).str();
}

int firstFailure(int current, int result) { return current == device::kSuccess ? result : current; }

}  // namespace

KeyColours::KeyColours(device::DeviceCommands& commands, profiles::UserFolder folder, std::filesystem::path templateFile)
    : commands_(commands), folder_(std::move(folder)), templateFile_(std::move(templateFile)) {
    names_.fill(u"0");
    for (auto& profile : colours_) profile.fill({colourFromRgb(255, 0, 0), true});
}

bool KeyColours::PrepareUserColourFiles() {
    const profiles::KtvlSettings settings(folder_.settingsFile());
    if (settings.colourFilesPrepared()) return true;
    const std::optional<std::string> content = readWholeFile(templateFile_);
    if (!content) return false;
    bool copied = true;
    for (int n = 0; n < profiles::kColourFileCount; ++n) copied = text::writeFileAtomically(fileOf(n), *content) && copied;
    return copied && settings.markColourFilesPrepared();
}

profiles::KeyColour KeyColours::keyColour(int profile, int position) const {
    if (!LightingBlock::validProfile(profile) || position < 0 || position >= kLightingPositions) return {};
    return colours_[profile][position];
}

void KeyColours::setKey(int profile, int position, profiles::KeyColour colour) { colours_[profile][position] = colour; }

void KeyColours::loadSchemeNames(int profile) {
    names_.fill(u"0");
    if (!LightingBlock::validProfile(profile)) return;
    const auto document = text::IniDocument::load(fileOf(profile));
    if (!document) return;
    for (int s = 0; s < profiles::kSchemeCount; ++s)
        names_[s] = text::toUtf16(document->read(kNamesSection, std::to_string(s), "0"));
}

int KeyColours::ApplyColourScheme(int profile) {
    if (!LightingBlock::validProfile(profile)) return kNothingToDo;
    loadColourScheme(profile);
    return UploadKeyColours(profile);
}

void KeyColours::loadColourScheme(int profile) {
    if (!LightingBlock::validProfile(profile)) return;
    const auto document = text::IniDocument::load(fileOf(profile));
    const auto read = [&document](std::string_view section, std::string_view key, std::string_view fallback) {
        return document ? document->read(section, key, fallback) : std::string(fallback);
    };
    const int scheme = text::leadingDecimal(read(kPresentSection, kPresentKey, "0"));
    scheme_ = scheme >= 0 && scheme < profiles::kSchemeCount ? scheme : 0;
    const std::string section = schemeSection(scheme_);
    settings_ = {text::leadingDecimal(read(section, kToolKey, "0")) == 1 ? 1 : 0,
                 parseColour(read(section, kBaseColourKey, kColourDefault)),
                 parseColour(read(section, kPaintColourKey, kColourDefault))};
    for (int position : litPositions())
        setKey(profile, position, parseKeyColour(read(section, std::to_string(position), kKeyColourDefault)));
}

int KeyColours::UploadKeyColours(int profile) {
    if (!LightingBlock::validProfile(profile)) return kNothingToDo;
    const device::KeyboardLock held;
    int result = commands_.BeginUpdate();
    for (int chunk = 0; chunk < kKeyColourChunks; ++chunk) {
        std::array<std::uint8_t, kPositionsPerChunk * 3> bytes{};
        for (int i = 0; i < kPositionsPerChunk; ++i) {
            const int position = chunk * kPositionsPerChunk + i;
            if (position >= kLightingPositions) break;
            const auto rgb = rgbBytes(colours_[profile][position].colour);
            std::copy(rgb.begin(), rgb.end(), bytes.begin() + 3 * i);
        }
        result = firstFailure(result, commands_.WriteKeyColours(profile, chunk * kPositionsPerChunk, bytes));
    }
    return firstFailure(result, commands_.EndUpdate());
}

std::optional<ButtonLook> KeyColours::PaintKey(int profile, int buttonId) {
    const bool eraser = tool() == PaintTool::Eraser;
    return SetKeyColour(profile, buttonId, {eraser ? settings_.baseColour : settings_.paintColour, eraser});
}

std::optional<ButtonLook> KeyColours::SetKeyColour(int profile, int buttonId, profiles::KeyColour colour) {
    const std::optional<int> position = keyboard::lightingPositionOf(buttonId);
    if (!position || !LightingBlock::validProfile(profile)) return std::nullopt;
    colour.colour &= 0xFFFFFF;
    {
        const device::KeyboardLock held;
        commands_.BeginUpdate();
        commands_.WriteKeyColours(profile, *position, rgbBytes(colour.colour));
        commands_.EndUpdate();
    }
    setKey(profile, *position, colour);
    if (auto document = text::IniDocument::load(fileOf(profile))) {
        document->write(schemeSection(scheme_), std::to_string(*position), formatKeyColour(colour));
        document->save();
    }
    return ButtonLook{buttonId, {true, colour.colour}};
}

std::vector<ButtonLook> KeyColours::ChangeBaseColour(int profile, ColourValue colour) {
    colour &= 0xFFFFFF;
    if (!LightingBlock::validProfile(profile) || colour == settings_.baseColour) return {};
    settings_.baseColour = colour;
    auto document = text::IniDocument::load(fileOf(profile));
    const std::string section = schemeSection(scheme_);
    if (document) document->write(section, kBaseColourKey, formatColour(colour));
    std::vector<bool> recoloured(kLightingPositions, false);
    for (int position : litPositions()) {
        profiles::KeyColour& key = colours_[profile][position];
        if (!key.followsBaseColour || recoloured[position]) continue;
        recoloured[position] = true;
        key.colour = colour;
        if (document) document->write(section, std::to_string(position), formatKeyColour(key));
    }
    if (document) document->save();
    UploadKeyColours(profile);
    std::vector<ButtonLook> looks = keyLooks(profile);
    std::erase_if(looks, [&](const ButtonLook& look) {
        const auto position = keyboard::lightingPositionOf(look.buttonId);
        return !position || !recoloured[*position];
    });
    return looks;
}

bool KeyColours::saveSchemeSettings(int profile) {
    if (!LightingBlock::validProfile(profile)) return false;
    auto document = text::IniDocument::load(fileOf(profile));
    if (!document) return false;
    const std::string section = schemeSection(scheme_);
    document->writeNumber(section, kToolKey, settings_.tool);
    document->write(section, kBaseColourKey, formatColour(settings_.baseColour));
    document->write(section, kPaintColourKey, formatColour(settings_.paintColour));
    return document->save();
}

bool KeyColours::ChoosePaintColour(int profile, ColourValue colour) {
    settings_.paintColour = colour & 0xFFFFFF;
    return saveSchemeSettings(profile);
}

bool KeyColours::ChooseTool(int profile, PaintTool tool) {
    settings_.tool = static_cast<int>(tool);
    return saveSchemeSettings(profile);
}

int KeyColours::SelectScheme(int profile, int scheme) {
    if (!LightingBlock::validProfile(profile) || scheme < 0 || scheme >= profiles::kSchemeCount) return kNothingToDo;
    if (auto document = text::IniDocument::load(fileOf(profile))) {
        document->writeNumber(kPresentSection, kPresentKey, scheme);
        document->save();
    }
    return ApplyColourScheme(profile);
}

bool KeyColours::RenameScheme(int profile, const std::u16string& name) {
    if (!LightingBlock::validProfile(profile)) return false;
    auto document = text::IniDocument::load(fileOf(profile));
    if (!document || !document->write(kNamesSection, std::to_string(scheme_), text::toUtf8(name))) return false;
    if (!document->save()) return false;
    names_[scheme_] = name;
    return true;
}

int KeyColours::RestoreUserColours(int profile) {
    if (!LightingBlock::validProfile(profile)) return kNothingToDo;
    if (const auto content = readWholeFile(fileOf(kTemplateFile)))
        text::writeFileAtomically(fileOf(profile), *content);
    loadSchemeNames(profile);
    return ApplyColourScheme(profile);
}

void KeyColours::RestoreKeyColour(int profile, int scheme, int position, profiles::KeyColour colour) {
    if (!LightingBlock::validProfile(profile) || position < 0 || position >= kLightingPositions) return;
    auto document = text::IniDocument::load(fileOf(profile));
    const bool current = document && text::leadingDecimal(document->read(kPresentSection, kPresentKey, "0")) == scheme;
    if (current) {
        const device::KeyboardLock held;
        commands_.BeginUpdate();
        commands_.WriteKeyColours(profile, position, rgbBytes(colour.colour));
        commands_.EndUpdate();
        setKey(profile, position, colour);
    }
    if (document) {
        document->write(schemeSection(scheme), std::to_string(position), formatKeyColour(colour));
        document->save();
    }
}

bool KeyColours::RestoreColourFile(int profile, std::string_view content, bool shown) {
    if (!LightingBlock::validProfile(profile)) return false;
    if (!text::writeFileAtomically(fileOf(profile), content)) return false;
    if (shown) {
        loadSchemeNames(profile);
        ApplyColourScheme(profile);
    }
    return true;
}

std::vector<ButtonLook> KeyColours::keyLooks(int profile) const {
    std::vector<ButtonLook> looks;
    if (!LightingBlock::validProfile(profile)) return looks;
    looks.reserve(LightingPreview::previewButtons().size());
    for (int id : LightingPreview::previewButtons()) {
        if (const auto position = keyboard::lightingPositionOf(id))
            looks.push_back({id, {true, colours_[profile][*position].colour}});
    }
    return looks;
}

}  // namespace quillmar::lighting
