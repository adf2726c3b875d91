#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "config/AssignmentTexts.h"
#include "keyboard/KeyAssignment.h"

namespace quillmar::config {

// Launch-program and text-block records keep their text in the text area.
inline bool carriesText(const keyboard::KeyAssignment& record) {
    return record.type == keyboard::AssignmentType::LaunchProgram ||
           record.type == keyboard::AssignmentType::TextBlock;
}

// The text area of the profile file: the texts of launch-program and
// text-block records, UTF-16 with terminator, one after another in record
// order, as many as fit in texts.totalBytes() bytes. Each such record's value
// field is set to its text's byte offset in the area, or to the area's size
// when its text is missing or does not fit; other records are left alone. records holds the 2048 records the texts belong to. The area is
// texts.totalBytes() long; bytes no text fills are zero.
std::vector<std::uint8_t> packAssignmentTexts(const AssignmentTexts& texts,
                                              std::span<keyboard::KeyAssignment> records);

}  // namespace quillmar::config
