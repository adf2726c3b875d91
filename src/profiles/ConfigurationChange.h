#pragma once

#include "config/AssignmentBlock.h"
#include "config/ConfigStore.h"
#include "keyboard/DefaultKeyTable.h"
#include "keyboard/KeyAssignment.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillmar::profiles {

// A macro as an undo step keeps it: the record's bytes up to its last
// meaningful action. Steps share the macros they have in common, so a
// hundred steps over a hundred macros hold each macro version once.
using PackedMacro = std::shared_ptr<const std::vector<std::uint8_t>>;
using PackedMacros = std::vector<PackedMacro>;

PackedMacro packMacro(const config::MacroRecord& macro);
config::MacroRecord unpackMacro(const PackedMacro& packed);
// The list packed; a macro equal to one in `known` is that one, not a copy.
PackedMacros packMacros(const config::MacroList& macros, const PackedMacros& known = {});
// Each macro of the list that equals one of the pool becomes that one.
void share(PackedMacros& macros, const PackedMacros& pool);

// The working configuration as it was before an edit: what an edit is told
// apart from afterwards.
class ConfigurationCapture {
public:
    explicit ConfigurationCapture(const config::ConfigStore& store);

    const config::AssignmentBlock& block() const { return *block_; }
    const std::vector<std::optional<std::u16string>>& texts() const { return texts_; }
    const PackedMacros& macros() const { return macros_; }

private:
    std::unique_ptr<config::AssignmentBlock> block_;
    std::vector<std::optional<std::u16string>> texts_;
    PackedMacros macros_;
};

// What one edit changed in the working configuration: the assignment records
// and texts that differ, the block's head, and the macro list when it
// differs. Restoring either side leaves every other record as it is.
class ConfigurationChange {
public:
    // Nothing (empty()) when the store still equals the capture. Macros equal
    // to one in `known` are shared with it.
    static ConfigurationChange between(const ConfigurationCapture& before, const config::ConfigStore& after,
                                       const PackedMacros& known = {});

    bool empty() const { return records_.empty() && texts_.empty() && !head_ && !macros_; }
    // Adds a change made after this one: the two become one, from this one's
    // before to the later one's after.
    void append(ConfigurationChange&& later);
    // Puts the state before (or after) the edit back into the store, under its lock.
    void restore(config::ConfigStore& store, bool before) const;

    // Whether a record of another profile slot than the given one, or the
    // macro list, changed: the keyboard then needs every profile's key block.
    bool reachesBeyond(int profile) const;
    // The newest macro list the change holds (after the edit); empty when the
    // macros did not change.
    const PackedMacros& macrosAfter() const;

private:
    struct RecordChange {
        int index;
        keyboard::KeyAssignment before;
        keyboard::KeyAssignment after;
    };
    struct TextChange {
        int index;
        std::optional<std::u16string> before;
        std::optional<std::u16string> after;
    };
    using Head = std::array<std::uint8_t, 64>;  // header and fixed block
    struct HeadChange {
        Head before;
        Head after;
    };
    struct MacroChange {
        PackedMacros before;
        PackedMacros after;
    };

    std::vector<RecordChange> records_;
    std::vector<TextChange> texts_;
    std::optional<HeadChange> head_;
    std::optional<MacroChange> macros_;
};

// A digest of the whole configuration (records, texts, macros): equal
// configurations give equal digests.
std::uint64_t configurationDigest(const config::ConfigStore& store);

// A digest of what a keyboard keeps of the configuration: the three
// profiles' key blocks and the macros' actions. Colour-key flags, G-keys
// and texts stay on this computer, so a keyboard read back after a
// download gives the digest the download had.
std::uint64_t keyboardDigest(const config::ConfigStore& store, const keyboard::DefaultKeyTable& defaults);

}  // namespace quillmar::profiles
