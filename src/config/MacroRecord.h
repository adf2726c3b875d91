#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "config/MacroAction.h"

namespace quillmar::config {

inline constexpr int kMaxMacros = 100;
inline constexpr std::uint16_t kFirstMacroId = 1;
inline constexpr std::uint16_t kLastMacroId = 100;
inline constexpr int kMaxMacroActions = 2000;
inline constexpr int kMaxMacroNameLength = 249;  // UTF-16 code units, terminator excluded

// One macro; the same 16512 bytes in memory and in the profile file
// (little-endian). A value-initialised record is all zeros.
struct MacroRecord {
    std::array<char16_t, kMaxMacroNameLength + 1> name{};  // NUL-terminated
    std::uint8_t loopCount = 0;
    std::uint8_t reserved0 = 0;
    std::uint16_t unsaved = 0;  // 1 while created in an editor that has not committed it
    std::uint16_t playMode = 0;
    std::uint16_t id = 0;  // 1..100, unique in its list
    std::uint16_t actionCount = 0;
    std::uint16_t reserved1 = 0;
    std::array<MacroAction, kMaxMacroActions> actions{};
};
static_assert(std::endian::native == std::endian::little, "records are kept in file byte order");
static_assert(sizeof(MacroRecord) == 16512);
static_assert(offsetof(MacroRecord, loopCount) == 500);
static_assert(offsetof(MacroRecord, unsaved) == 502);
static_assert(offsetof(MacroRecord, playMode) == 504);
static_assert(offsetof(MacroRecord, id) == 506);
static_assert(offsetof(MacroRecord, actionCount) == 508);
static_assert(offsetof(MacroRecord, actions) == 512);

// The name up to its terminator, never more than 249 code units even when a
// record read from a file lacks the terminator.
std::u16string macroName(const MacroRecord& record);

// Stores the name, cut to 249 code units; a surrogate pair that would be
// split by the cut is left out whole.
void setMacroName(MacroRecord& record, std::u16string_view name);

// The meaningful actions: the first action-count slots, at most 2000.
std::span<const MacroAction> macroActions(const MacroRecord& record);

// Adds one action (delay capped, direction normalised); false, and nothing
// added, when the macro already holds 2000 actions.
bool appendMacroAction(MacroRecord& record, MacroAction action);

// Replaces the actions by the first 2000 of the given ones, normalised, and
// clears the slots behind them.
void setMacroActions(MacroRecord& record, std::span<const MacroAction> actions);

// Brings a record from an editor or a file into the shape the store keeps:
// terminated name, at most 2000 actions with capped delays, unused action
// slots and reserved fields zero. Id and unsaved flag are left alone.
void normaliseMacroRecord(MacroRecord& record);

}  // namespace quillmar::config
