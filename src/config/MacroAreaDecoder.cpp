#include "config/MacroAreaDecoder.h"

#include <algorithm>
#include <new>
#include <string>

#include "config/LittleEndian.h"
#include "config/MacroArea.h"
#include "text/TextSlots.h"

namespace quillmar::config {
namespace {

std::u16string generatedName(const text::Texts& texts, std::size_t position) {
    const auto& prefix = text::kTextSlots[static_cast<std::size_t>(text::TextSlot::MACRO_NEW_PREFIX)];
    std::u16string name = texts.text(prefix.key, prefix.builtIn);
    for (const char digit : std::to_string(position + 1)) name.push_back(static_cast<char16_t>(digit));
    return name;
}

bool entryHeaderInside(std::span<const std::uint8_t> area, std::size_t offset) {
    return offset <= area.size() && area.size() - offset >= macro_area_entry::kActions;
}

// Fills macro from the entry (which runs to the area's end), reading only
// inside it.
void decodeEntry(std::span<const std::uint8_t> entry, std::size_t position, const text::Texts& texts,
                 MacroRecord& macro) {
    const std::size_t declaredActions = loadU16(entry, macro_area_entry::kActionCount);
    const std::size_t actionsInside = (entry.size() - macro_area_entry::kActions) / macro_area_entry::kActionBytes;
    const std::size_t count = std::min({declaredActions, actionsInside, std::size_t{kMaxMacroActions}});

    macro.id = static_cast<std::uint16_t>(position + 1);
    macro.loopCount = entry[macro_area_entry::kLoopCount];
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = macro_area_entry::kActions + i * macro_area_entry::kActionBytes;
        macro.actions[i] = decodeMacroAreaAction({loadU16(entry, at), loadU16(entry, at + 2)});
    }
    macro.actionCount = static_cast<std::uint16_t>(count);

    const std::size_t nameLength = entry[macro_area_entry::kNameLength];
    const std::size_t nameAt = macro_area_entry::kActions + declaredActions * macro_area_entry::kActionBytes;
    std::u16string name;
    if (nameAt <= entry.size() && (entry.size() - nameAt) / sizeof(char16_t) >= nameLength) {
        for (std::size_t i = 0; i < nameLength; ++i)
            name.push_back(static_cast<char16_t>(loadU16(entry, nameAt + i * sizeof(char16_t))));
        name.resize(std::min(name.size(), name.find(u'\0')));
    }
    setMacroName(macro, name.empty() ? generatedName(texts, position) : name);
}

}  // namespace

std::optional<MacroList> decodeMacroArea(std::span<const std::uint8_t> area, const text::Texts& texts) {
    if (area.size() < kMacroAreaHeaderBytes || loadU16(area, macro_area::kMagic) != kMacroAreaMagic)
        return std::nullopt;
    const std::size_t offsetsInside = (area.size() - macro_area::kOffsetTable) / macro_area::kOffsetBytes;
    const std::size_t count = std::min({std::size_t{loadU16(area, macro_area::kMacroCount)}, offsetsInside,
                                        std::size_t{kMaxMacros}});
    try {
        MacroList macros;
        macros.reserve(count);
        for (std::size_t position = 0; position < count; ++position) {
            const std::size_t offset = loadU16(area, macro_area::kOffsetTable + macro_area::kOffsetBytes * position);
            if (!entryHeaderInside(area, offset)) continue;
            decodeEntry(area.subspan(offset), position, texts, macros.emplace_back());
        }
        return macros;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

}  // namespace quillmar::config
