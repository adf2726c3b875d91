#include "config/MacroRecord.h"

#include <algorithm>

namespace quillmar::config {
namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }

std::size_t nameLength(const MacroRecord& record) {
    const auto end = record.name.begin() + kMaxMacroNameLength;
    return static_cast<std::size_t>(std::find(record.name.begin(), end, u'\0') - record.name.begin());
}

std::size_t usableActionCount(const MacroRecord& record) {
    return std::min<std::size_t>(record.actionCount, kMaxMacroActions);
}

}  // namespace

std::u16string macroName(const MacroRecord& record) {
    return std::u16string(record.name.data(), nameLength(record));
}

void setMacroName(MacroRecord& record, std::u16string_view name) {
    std::size_t length = std::min<std::size_t>(name.size(), kMaxMacroNameLength);
    if (length < name.size() && length > 0 && isHighSurrogate(name[length - 1])) --length;
    record.name.fill(u'\0');
    std::copy_n(name.begin(), length, record.name.begin());
}

std::span<const MacroAction> macroActions(const MacroRecord& record) {
    return std::span<const MacroAction>(record.actions).first(usableActionCount(record));
}

bool appendMacroAction(MacroRecord& record, MacroAction action) {
    const std::size_t count = usableActionCount(record);
    if (count >= kMaxMacroActions) return false;
    record.actions[count] = normalisedAction(action);
    record.actionCount = static_cast<std::uint16_t>(count + 1);
    return true;
}

void setMacroActions(MacroRecord& record, std::span<const MacroAction> actions) {
    const std::size_t count = std::min<std::size_t>(actions.size(), kMaxMacroActions);
    std::transform(actions.begin(), actions.begin() + static_cast<std::ptrdiff_t>(count),
                   record.actions.begin(), normalisedAction);
    std::fill(record.actions.begin() + static_cast<std::ptrdiff_t>(count), record.actions.end(),
              MacroAction{});
    record.actionCount = static_cast<std::uint16_t>(count);
}

void normaliseMacroRecord(MacroRecord& record) {
    setMacroName(record, macroName(record));
    record.reserved0 = 0;
    record.reserved1 = 0;
    setMacroActions(record, macroActions(record));
}

}  // namespace quillmar::config
