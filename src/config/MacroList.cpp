#include "config/MacroList.h"

#include <bitset>
#include <new>

namespace quillmar::config {

std::uint16_t allocateMacroId(const MacroList& list) {
    std::bitset<kLastMacroId + 1> used;
    for (const MacroRecord& record : list) {
        if (record.id >= kFirstMacroId && record.id <= kLastMacroId) used.set(record.id);
    }
    for (std::uint16_t id = kFirstMacroId; id <= kLastMacroId; ++id) {
        if (!used.test(id)) return id;
    }
    return 0;
}

MacroRecord newMacroRecord(std::u16string_view name, const MacroList& list) {
    MacroRecord record{};
    setMacroName(record, name);
    record.loopCount = 1;
    record.unsaved = 1;
    record.id = allocateMacroId(list);
    return record;
}

AddMacroResult appendNewMacro(MacroList& list, std::u16string_view name) {
    if (list.size() >= kMaxMacros) return AddMacroResult::ListFull;
    try {
        list.push_back(newMacroRecord(name, list));
    } catch (const std::bad_alloc&) {
        return AddMacroResult::OutOfMemory;
    }
    return AddMacroResult::Added;
}

}  // namespace quillmar::config
