#include "config/AssignmentTexts.h"

namespace quillmar::config {
namespace {

std::uint32_t storedSize(const std::u16string& text) {
    return static_cast<std::uint32_t>((text.size() + 1) * sizeof(char16_t));
}

}  // namespace

AssignmentTexts::AssignmentTexts() : slots_(kAssignmentRecordCount) {}

bool AssignmentTexts::isValidIndex(int recordIndex) {
    return recordIndex >= 0 && recordIndex < kAssignmentRecordCount;
}

void AssignmentTexts::setText(int recordIndex, std::u16string_view text) {
    if (!isValidIndex(recordIndex)) return;
    clearText(recordIndex);
    auto& slot = slots_[static_cast<std::size_t>(recordIndex)];
    // The profile file keeps each text NUL-terminated, so the text ends at its first NUL.
    slot.emplace(text.substr(0, text.find(u'\0')));
    total_ += storedSize(*slot);
}

void AssignmentTexts::clearText(int recordIndex) {
    if (!isValidIndex(recordIndex)) return;
    auto& slot = slots_[static_cast<std::size_t>(recordIndex)];
    if (!slot) return;
    total_ -= storedSize(*slot);
    slot.reset();
}

void AssignmentTexts::clearAll() {
    for (auto& slot : slots_) slot.reset();
    total_ = 0;
}

std::optional<std::u16string_view> AssignmentTexts::text(int recordIndex) const {
    if (!isValidIndex(recordIndex)) return std::nullopt;
    const auto& slot = slots_[static_cast<std::size_t>(recordIndex)];
    if (!slot) return std::nullopt;
    return std::u16string_view(*slot);
}

std::uint32_t AssignmentTexts::sizeInBytes(int recordIndex) const {
    if (!isValidIndex(recordIndex)) return 0;
    const auto& slot = slots_[static_cast<std::size_t>(recordIndex)];
    return slot ? storedSize(*slot) : 0;
}

}  // namespace quillmar::config
