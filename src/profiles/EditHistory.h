#pragma once

#include "profiles/ConfigurationChange.h"
#include "profiles/PanelChange.h"
#include "text/Texts.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>

namespace quillmar::profiles {

inline constexpr std::size_t kEditHistoryLimit = 100;

// What a user action was, for the labels of its undo and redo.
enum class EditKind {
    KeyAssignment,    // the key and macro editor's Apply
    ColourKey,        // a colour-key flag toggled
    RestoreDefaults,  // the window's restore defaults
    Import,           // a configuration file imported
    Lighting,         // a lighting control
    KeyColour,        // the brush or the eraser on a key
    ColourScheme,     // another scheme, its name, the base colour
};

// One user action: what it changed in the working configuration, and on the
// lighting panel's side (the keyboard's lighting record, key colours, the
// colour scheme file). A step is made for the profile the keyboard had
// active and always applies to that profile's data; no profile is switched.
struct EditStep {
    EditKind kind = EditKind::KeyAssignment;
    int profile = 0;
    ConfigurationChange configuration;
    std::vector<PanelChange> panel;

    bool empty() const;
    bool changesConfiguration() const { return !configuration.empty(); }
    bool changesPanel() const;
};

// Where an undo or redo puts a step's state back. Without the lighting
// side, steps of the lighting panel restore only their configuration.
struct EditTargets {
    config::ConfigStore& working;
    lighting::LightingControl* lighting = nullptr;
    lighting::KeyColours* colours = nullptr;
};

// The undo and redo history of one run of the window: at most `limit`
// steps, the oldest dropped first. A new step drops the steps that were
// undone. The history belongs to the configuration it was built on; a
// keyboard that arrives with another one clears it.
class EditHistory {
public:
    explicit EditHistory(std::size_t limit = kEditHistoryLimit) : limit_(limit) {}

    // Adds the step unless it changed nothing. Inside a group, the step's
    // changes join the group's step instead.
    void record(EditStep step);

    // Steps recorded between beginGroup and endGroup become one step of the
    // group's kind (restore defaults changes keys and lighting at once).
    void beginGroup(EditKind kind, int profile);
    void endGroup();

    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    std::size_t size() const { return steps_.size(); }
    // The step the next undo (redo) reverts (restores); nullptr when none.
    const EditStep* nextUndo() const { return canUndo() ? &steps_[done_ - 1] : nullptr; }
    const EditStep* nextRedo() const { return canRedo() ? &steps_[done_] : nullptr; }

    // Reverts the newest done step (restores the oldest undone one) and
    // returns it; nullptr when there is none.
    const EditStep* undo(EditTargets targets);
    const EditStep* redo(EditTargets targets);

    void clear();

    // "Undo key assignment", "Nothing to undo" and the like.
    std::u16string undoLabel(const text::Texts& texts) const;
    std::u16string redoLabel(const text::Texts& texts) const;

    // Macro versions already held, for a new step to share.
    const PackedMacros& knownMacros() const { return knownMacros_; }

    // The configuration the history was built on, as its digest (the window's
    // before a keyboard's contents are read back).
    void setConfiguration(std::uint64_t digest) { digest_ = digest; }
    // The configuration a keyboard arrived with: another one than the history
    // was built on clears it. Returns whether the history was kept.
    bool keepFor(std::uint64_t digest);

    // Told after every change of the history (the labels change).
    void setListener(std::function<void()> listener) { listener_ = std::move(listener); }

private:
    void add(EditStep step);
    void changed() const;

    std::size_t limit_;
    std::deque<EditStep> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
    std::optional<EditStep> group_;
    int groupDepth_ = 0;
    PackedMacros knownMacros_;
    std::optional<std::uint64_t> digest_;
    std::function<void()> listener_;
};

// Applies one step's before (undo) or after (redo) state.
void restoreStep(const EditStep& step, EditTargets targets, bool before);

// Runs an edit of the working configuration made in the profile and records
// what it changed as one step.
void recordConfigurationEdit(EditHistory& history, EditKind kind, int profile, const config::ConfigStore& working,
                             const std::function<void()>& edit);

// Runs an action of the lighting panel and records what it changed as one step.
void recordPanelEdit(EditHistory& history, EditKind kind, const lighting::LightingControl& lighting,
                     const lighting::KeyColours& colours, const UserFolder& folder, const std::function<void()>& edit);

}  // namespace quillmar::profiles
