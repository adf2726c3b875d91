#include "profiles/PanelChange.h"

#include <fstream>
#include <sstream>

namespace quillmar::profiles {
namespace {

std::optional<std::string> readFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return std::move(content).str();
}

}  // namespace

PanelCapture::PanelCapture(const lighting::LightingControl& lighting, const lighting::KeyColours& colours,
                           const UserFolder& folder)
    : profile(lighting.state().profile),
      scheme(colours.scheme()) {
    if (!lighting::LightingBlock::validProfile(profile)) return;
    record = lighting.state().mirror[static_cast<std::size_t>(profile)];
    for (int position = 0; position < lighting::kLightingPositions; ++position)
        keys[static_cast<std::size_t>(position)] = colours.keyColour(profile, position);
    file = readFile(folder.colourFile(profile));
}

PanelChange PanelChange::between(const PanelCapture& before, const PanelCapture& after, bool paintClick) {
    PanelChange change;
    change.profile_ = before.profile;
    change.scheme_ = before.scheme;
    if (before.profile != after.profile || !lighting::LightingBlock::validProfile(before.profile)) return change;
    if (before.record != after.record) change.record_.emplace(before.record, after.record);
    if (paintClick && before.scheme == after.scheme) {
        for (int position = 0; position < lighting::kLightingPositions; ++position) {
            const auto at = static_cast<std::size_t>(position);
            if (before.keys[at] != after.keys[at]) change.keys_.push_back({position, before.keys[at], after.keys[at]});
        }
    } else if (before.file && after.file && before.file != after.file) {
        change.file_.emplace(*before.file, *after.file);
    }
    return change;
}

void PanelChange::restore(lighting::LightingControl& lighting, lighting::KeyColours& colours, bool before) const {
    if (record_) lighting.WriteRecord(profile_, before ? record_->first : record_->second);
    for (const KeyChange& key : keys_)
        colours.RestoreKeyColour(profile_, scheme_, key.position, before ? key.before : key.after);
    if (file_) colours.RestoreColourFile(profile_, before ? file_->first : file_->second,
                                         profile_ == lighting.state().profile);
}

}  // namespace quillmar::profiles
