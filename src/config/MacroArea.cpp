#include "config/MacroArea.h"

#include <algorithm>

#include "config/LittleEndian.h"
#include "keyboard/DeviceKeyEntry.h"
#include "keyboard/KeyEntryCodec.h"
#include "keyboard/KeyUsage.h"

namespace quillmar::config {
namespace {

using keyboard::DeviceKeyEntry;

constexpr std::uint16_t kDelayMask = 0x0FFF;
constexpr unsigned kKindShift = 12;
constexpr std::uint16_t kKindMask = 0x7;
constexpr std::uint16_t kPressBit = 0x8000;
constexpr std::uint32_t kDelayUnitMs = 10;

// The default-layout entry of the key: kind, then word 1's two bytes.
DeviceKeyEntry entryOfKey(keyboard::KeyCode code) {
    namespace kind = keyboard::entry_kind;
    if (const auto bit = keyboard::modifierBitOf(code))
        return {kind::kKeyboard, keyboard::keyboard_entry::kModifiers, static_cast<std::uint8_t>(*bit)};
    const keyboard::HidUsage usage = keyboard::usageOfKeyCode(code);
    const auto low = static_cast<std::uint8_t>(usage.id);
    const auto high = static_cast<std::uint8_t>(usage.id >> 8);
    switch (usage.page) {
    case keyboard::kKeyboardPage:
        return {kind::kKeyboard, keyboard::keyboard_entry::kUsage, low};
    case keyboard::kConsumerPage:
        return {kind::kConsumer, low, high};
    case keyboard::kGenericDesktopPage:
        return {kind::kGenericDesktop, low, high};
    default:
        return {};
    }
}

std::size_t entryBytes(const MacroRecord& macro, bool withNames) {
    const std::size_t names = withNames ? macroName(macro).size() * sizeof(char16_t) : 0;
    return macro_area_entry::kActions + macroActions(macro).size() * macro_area_entry::kActionBytes + names;
}

// Writes one entry at the start of bytes; returns the bytes it took.
std::size_t writeEntry(std::span<std::uint8_t> bytes, const MacroRecord& macro, bool withNames) {
    const auto actions = macroActions(macro);
    const std::u16string name = withNames ? macroName(macro) : std::u16string();
    storeU16(bytes, macro_area_entry::kActionCount, static_cast<std::uint16_t>(actions.size()));
    bytes[macro_area_entry::kLoopCount] = macro.loopCount;
    bytes[macro_area_entry::kNameLength] = static_cast<std::uint8_t>(name.size());
    std::size_t at = macro_area_entry::kActions;
    for (const MacroAction& action : actions) {
        const MacroAreaAction words = encodeMacroAreaAction(action);
        storeU16(bytes, at, words.word0);
        storeU16(bytes, at + 2, words.word1);
        at += macro_area_entry::kActionBytes;
    }
    for (const char16_t unit : name) {
        storeU16(bytes, at, unit);
        at += sizeof(char16_t);
    }
    return at;
}

}  // namespace

MacroAreaAction encodeMacroAreaAction(const MacroAction& action) {
    const DeviceKeyEntry entry = entryOfKey(action.keyCode);
    // The store keeps delays within 40000 ms; anything longer plays as the longest delay.
    const auto delay = static_cast<std::uint16_t>(std::min<std::uint32_t>(action.delayMs / kDelayUnitMs, kDelayMask));
    std::uint16_t word0 = static_cast<std::uint16_t>(delay | (entry.kind & kKindMask) << kKindShift);
    if (action.direction == KeyDirection::Press) word0 |= kPressBit;
    return {word0, static_cast<std::uint16_t>(entry.byte1 | entry.byte2 << 8)};
}

MacroAction decodeMacroAreaAction(MacroAreaAction action) {
    const DeviceKeyEntry entry{static_cast<std::uint8_t>((action.word0 >> kKindShift) & kKindMask),
                               static_cast<std::uint8_t>(action.word1), static_cast<std::uint8_t>(action.word1 >> 8)};
    MacroAction result;
    result.delayMs = (action.word0 & kDelayMask) * kDelayUnitMs;
    result.keyCode = keyboard::keyOfPosition(entry);
    result.direction = (action.word0 & kPressBit) ? KeyDirection::Press : KeyDirection::Release;
    return result;
}

MacroAreaSizes macroAreaSizes(const MacroList& macros) {
    MacroAreaSizes sizes;
    sizes.withoutNames = kMacroAreaHeaderBytes + macro_area::kOffsetBytes * macros.size();
    sizes.withNames = sizes.withoutNames;
    for (const MacroRecord& macro : macros) {
        sizes.withoutNames += entryBytes(macro, false);
        sizes.withNames += entryBytes(macro, true);
    }
    return sizes;
}

std::vector<std::uint8_t> buildMacroArea(const MacroList& macros, bool withNames) {
    const MacroAreaSizes sizes = macroAreaSizes(macros);
    const std::size_t size = withNames ? sizes.withNames : sizes.withoutNames;
    if (size > kMaxMacroAreaBytes) return {};
    std::vector<std::uint8_t> area(size, 0);
    storeU16(area, macro_area::kMagic, kMacroAreaMagic);
    storeU16(area, macro_area::kTotalSize, static_cast<std::uint16_t>(area.size()));
    storeU16(area, macro_area::kMacroCount, static_cast<std::uint16_t>(macros.size()));
    storeU16(area, macro_area::kNamesFlag, withNames ? 1 : 0);
    std::size_t offset = macro_area::kOffsetTable + macro_area::kOffsetBytes * macros.size();
    for (std::size_t i = 0; i < macros.size(); ++i) {
        storeU16(area, macro_area::kOffsetTable + macro_area::kOffsetBytes * i, static_cast<std::uint16_t>(offset));
        offset += writeEntry(std::span(area).subspan(offset), macros[i], withNames);
    }
    return area;
}

}  // namespace quillmar::config
