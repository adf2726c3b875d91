#pragma once

#include "keyboard/FunctionKeyTable.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/MediaFunctionTable.h"

namespace quillmar::keyboard {

// The type a record acts as. Media and function indexes beyond their tables
// (as a foreign profile file may carry) make the record Disabled.
constexpr AssignmentType effectiveType(const KeyAssignment& record) {
    if (record.type == AssignmentType::Media && record.value >= kMediaFunctionTable.size())
        return AssignmentType::Disabled;
    if (record.type == AssignmentType::Function && record.value >= kFunctionKeyTable.size())
        return AssignmentType::Disabled;
    return record.type;
}

}  // namespace quillmar::keyboard
