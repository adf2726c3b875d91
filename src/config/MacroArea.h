#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/MacroAction.h"
#include "config/MacroList.h"

namespace quillmar::config {

// The keyboard's macro area, shared by all profiles (little-endian):
//   header   magic AA 55, total size, macro count N, names flag, 8 reserved
//   offsets  N × 2 bytes, each macro entry's offset from the area's start
//   entries  per macro: action count A (2), loop count (1), name length L
//            in UTF-16 units (1), A actions of 4 bytes, then L name units
//            when the names flag is 1.
inline constexpr std::uint16_t kMacroAreaMagic = 0x55AA;
inline constexpr std::size_t kMacroAreaHeaderBytes = 16;

namespace macro_area {
inline constexpr std::size_t kMagic = 0;
inline constexpr std::size_t kTotalSize = 2;
inline constexpr std::size_t kMacroCount = 4;
inline constexpr std::size_t kNamesFlag = 6;
inline constexpr std::size_t kOffsetTable = 16;
inline constexpr std::size_t kOffsetBytes = 2;
}  // namespace macro_area

namespace macro_area_entry {
inline constexpr std::size_t kActionCount = 0;
inline constexpr std::size_t kLoopCount = 2;
inline constexpr std::size_t kNameLength = 3;
inline constexpr std::size_t kActions = 4;
inline constexpr std::size_t kActionBytes = 4;
}  // namespace macro_area_entry

// One action as the keyboard plays it: word 0 the delay in 10 ms units (bits
// 0-11), the key's kind (bits 12-14) and press (bit 15); word 1 the key's
// usage bytes, shaped like the last two bytes of a default-layout entry.
struct MacroAreaAction {
    std::uint16_t word0 = 0;
    std::uint16_t word1 = 0;
};

MacroAreaAction encodeMacroAreaAction(const MacroAction& action);
// Delay back in milliseconds (10 ms steps); key code 0 when the usage names no key.
MacroAction decodeMacroAreaAction(MacroAreaAction action);

struct MacroAreaSizes {
    std::size_t withoutNames = 0;
    std::size_t withNames = 0;
};

// Both sizes the area of these macros takes.
MacroAreaSizes macroAreaSizes(const MacroList& macros);

// Largest area the 16-bit size and offset fields can describe.
inline constexpr std::size_t kMaxMacroAreaBytes = 0xFFFF;

// The area of the macros in list order, every name carried or none; empty
// when it would be larger than kMaxMacroAreaBytes. Throws std::bad_alloc
// when the buffer cannot be had.
std::vector<std::uint8_t> buildMacroArea(const MacroList& macros, bool withNames);

}  // namespace quillmar::config
