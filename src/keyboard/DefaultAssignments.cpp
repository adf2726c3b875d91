#include "keyboard/DefaultAssignments.h"

#include "keyboard/LayoutKeyList.h"

namespace quillmar::keyboard {

namespace {

KeyButtonUpdate clearGKey(ProfileAssignments records, int n, GKeyBank bank, const text::Texts& texts) {
    const int slot = gKeySlotOf(n, bank);
    clearAssignment(records[slot], slot);
    return {kGKeyList[n - 1], describeGKey(n, records[slot], texts)};
}

KeyButtonUpdate clearLayoutKey(ProfileAssignments records, const LayoutKey& key, const text::Texts& texts) {
    const int slot = keyIndexOf(key.keyCode);
    clearAssignment(records[slot], slot);
    return {key.buttonId, describeKey(key.keyCode, records[slot], texts)};
}

}  // namespace

void clearAssignment(KeyAssignment& record, int slot) {
    record.type = AssignmentType::Default;
    record.value = 0;
    record.extra = gKeyCodeOfSlot(slot);
}

std::vector<KeyButtonUpdate> restoreDefaultAssignments(ProfileAssignments records, GKeyBank bank,
                                                       const text::Texts& texts) {
    std::vector<KeyButtonUpdate> updates;
    updates.reserve(kGKeyCount + kLayoutKeyCount);
    for (int n = 1; n <= kGKeyCount; ++n) updates.push_back(clearGKey(records, n, bank, texts));
    for (const LayoutKey& key : kLayoutKeyList) updates.push_back(clearLayoutKey(records, key, texts));
    return updates;
}

std::optional<KeyButtonUpdate> resetKeyButton(ProfileAssignments records, int recordIndex, GKeyBank bank,
                                              const text::Texts& texts) {
    if (recordIndex < 0 || recordIndex >= kSlotsPerProfile) return std::nullopt;
    if (const auto n = gKeyNumberOfSlot(recordIndex, bank)) return clearGKey(records, *n, bank, texts);
    clearAssignment(records[recordIndex], recordIndex);
    for (const LayoutKey& key : kLayoutKeyList)
        if (keyIndexOf(key.keyCode) == recordIndex) return KeyButtonUpdate{key.buttonId, describeKey(key.keyCode, records[recordIndex], texts)};
    return std::nullopt;
}

}  // namespace quillmar::keyboard
