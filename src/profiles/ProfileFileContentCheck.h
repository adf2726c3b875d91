#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace quillmar::profiles {

// What makes a configuration file with a sound header unfit for import. A
// file the program wrote itself never has one of these.
enum class ContentFault {
    ShorterThanTotal,       // the file ends before the header's total size
    AssignmentType,         // a record's type is none of the nine
    AssignmentValue,        // a key that is no key code, a media or function index beyond its table
    MacroId,                // an id outside 1..100
    MacroIdRepeated,        // an id an earlier macro already has
    MacroTooManyActions,    // more than 2000 actions
    MacroActionKey,         // an action's key code belongs to no key
    MacroActionDirection,   // an action that is neither a press (0) nor a release (1)
    MacroActionDelay,       // a delay above 40000 ms
    MacroNameUnterminated,  // a name that fills its field without a terminator
    TextOffset,             // a launch-program or text-block offset beyond the text area
    TextUnterminated,       // such a text runs to the end of the area without a terminator
};

struct ContentProblem {
    ContentFault fault = ContentFault::ShorterThanTotal;
    // Where it is, counted from 1: the assignment record (1..2048) or the
    // macro (1..100); 0 for ShorterThanTotal.
    int number = 0;
};

// The first problem of a file whose header passes passesHeaderCheck, or
// nothing when the whole file can be imported. bytes is the file as far as
// it goes (bytes beyond the header's total are ignored). Reads only inside
// bytes.
std::optional<ContentProblem> findContentProblem(std::span<const std::uint8_t> bytes);

}  // namespace quillmar::profiles
