#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "config/ConfigStore.h"
#include "config/MacroList.h"

namespace quillmar::config::testing {

// A macro as an editor copies it out of the store: saved, named after its id.
inline MacroRecord savedMacro(std::uint16_t id) {
    MacroRecord macro{};
    const std::string name = "Macro" + std::to_string(id);
    setMacroName(macro, std::u16string(name.begin(), name.end()));
    macro.loopCount = 1;
    macro.id = id;
    return macro;
}

inline MacroList savedMacros(std::initializer_list<std::uint16_t> ids) {
    MacroList list;
    for (std::uint16_t id : ids) list.push_back(savedMacro(id));
    return list;
}

// Gives the store these macros and returns the editor's copy of them.
inline MacroList storeMacros(ConfigStore& store, std::initializer_list<std::uint16_t> ids) {
    store.replaceMacros(savedMacros(ids));
    return savedMacros(ids);
}

inline void assignMacro(ConfigStore& store, int recordIndex, std::uint32_t id) {
    auto held = store.lock();
    auto& record = store.records()[static_cast<std::size_t>(recordIndex)];
    record.type = keyboard::AssignmentType::PlayMacro;
    record.value = id;
    record.extra = 3;
}

}  // namespace quillmar::config::testing
