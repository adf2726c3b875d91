#include "profiles/EditHistory.h"

#include "text/SlotText.h"

#include <algorithm>
#include <ranges>

namespace quillmar::profiles {
namespace {

text::TextSlot nameOf(EditKind kind) {
    switch (kind) {
    case EditKind::KeyAssignment: return text::TextSlot::EDIT_KEY_ASSIGNMENT;
    case EditKind::ColourKey: return text::TextSlot::EDIT_COLOUR_KEY;
    case EditKind::RestoreDefaults: return text::TextSlot::EDIT_RESTORE_DEFAULTS;
    case EditKind::Import: return text::TextSlot::EDIT_IMPORT;
    case EditKind::Lighting: return text::TextSlot::EDIT_LIGHTING;
    case EditKind::KeyColour: return text::TextSlot::EDIT_KEY_COLOUR;
    case EditKind::ColourScheme: return text::TextSlot::EDIT_COLOUR_SCHEME;
    }
    return text::TextSlot::EDIT_KEY_ASSIGNMENT;
}

std::u16string label(const text::Texts& texts, text::TextSlot format, const EditStep& step) {
    std::u16string result = text::slotText(texts, format);
    if (const auto at = result.find(u"%s"); at != std::u16string::npos)
        result.replace(at, 2, text::slotText(texts, nameOf(step.kind)));
    return result;
}

}  // namespace

bool EditStep::empty() const { return configuration.empty() && !changesPanel(); }

bool EditStep::changesPanel() const {
    return std::ranges::any_of(panel, [](const PanelChange& change) { return !change.empty(); });
}

void EditHistory::record(EditStep step) {
    if (groupDepth_ > 0 && group_) {
        group_->configuration.append(std::move(step.configuration));
        for (PanelChange& change : step.panel)
            if (!change.empty()) group_->panel.push_back(std::move(change));
        return;
    }
    add(std::move(step));
}

void EditHistory::beginGroup(EditKind kind, int profile) {
    if (groupDepth_++ == 0) group_ = EditStep{kind, profile, {}, {}};
}

void EditHistory::endGroup() {
    if (groupDepth_ == 0 || --groupDepth_ > 0) return;
    std::optional<EditStep> step = std::exchange(group_, std::nullopt);
    if (step) add(std::move(*step));
}

void EditHistory::add(EditStep step) {
    if (step.empty()) return;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    if (!step.configuration.macrosAfter().empty()) knownMacros_ = step.configuration.macrosAfter();
    steps_.push_back(std::move(step));
    while (steps_.size() > limit_) steps_.pop_front();
    done_ = steps_.size();
    changed();
}

const EditStep* EditHistory::undo(EditTargets targets) {
    if (!canUndo()) return nullptr;
    const EditStep& step = steps_[--done_];
    restoreStep(step, targets, true);
    changed();
    return &step;
}

const EditStep* EditHistory::redo(EditTargets targets) {
    if (!canRedo()) return nullptr;
    const EditStep& step = steps_[done_++];
    restoreStep(step, targets, false);
    changed();
    return &step;
}

void EditHistory::clear() {
    steps_.clear();
    done_ = 0;
    knownMacros_.clear();
    changed();
}

bool EditHistory::keepFor(std::uint64_t digest) {
    const bool same = !digest_ || *digest_ == digest;
    digest_ = digest;
    if (!same) clear();
    return same;
}

std::u16string EditHistory::undoLabel(const text::Texts& texts) const {
    return canUndo() ? label(texts, text::TextSlot::EDIT_UNDO, *nextUndo()) : text::slotText(texts, text::TextSlot::EDIT_NOTHING_TO_UNDO);
}

std::u16string EditHistory::redoLabel(const text::Texts& texts) const {
    return canRedo() ? label(texts, text::TextSlot::EDIT_REDO, *nextRedo()) : text::slotText(texts, text::TextSlot::EDIT_NOTHING_TO_REDO);
}

void EditHistory::changed() const {
    if (listener_) listener_();
}

void restoreStep(const EditStep& step, EditTargets targets, bool before) {
    step.configuration.restore(targets.working, before);
    if (!targets.lighting || !targets.colours) return;
    const auto restore = [&](const PanelChange& change) { change.restore(*targets.lighting, *targets.colours, before); };
    // The changes of one step are taken back newest first.
    if (before)
        std::for_each(step.panel.rbegin(), step.panel.rend(), restore);
    else
        std::for_each(step.panel.begin(), step.panel.end(), restore);
}

void recordConfigurationEdit(EditHistory& history, EditKind kind, int profile, const config::ConfigStore& working,
                             const std::function<void()>& edit) {
    const ConfigurationCapture before(working);
    edit();
    history.record({kind, profile, ConfigurationChange::between(before, working, history.knownMacros()), {}});
}

void recordPanelEdit(EditHistory& history, EditKind kind, const lighting::LightingControl& lighting,
                     const lighting::KeyColours& colours, const UserFolder& folder, const std::function<void()>& edit) {
    const PanelCapture before(lighting, colours, folder);
    edit();
    const PanelCapture after(lighting, colours, folder);
    history.record({kind, before.profile, {}, {PanelChange::between(before, after, kind == EditKind::KeyColour)}});
}

}  // namespace quillmar::profiles
