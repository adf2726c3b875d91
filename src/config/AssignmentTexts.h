#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/AssignmentBlock.h"

namespace quillmar::config {

// The texts of launch-program and text-block assignments, one optional text
// per assignment record, with the running total of their sizes as the
// profile file counts them (UTF-16 code units plus terminator, in bytes).
// Indexes outside the 2048 records name no slot: reads give nothing and
// writes are ignored.
class AssignmentTexts {
public:
    AssignmentTexts();

    void setText(int recordIndex, std::u16string_view text);
    void clearText(int recordIndex);
    void clearAll();

    // The slot's text; nullopt when the slot is empty.
    std::optional<std::u16string_view> text(int recordIndex) const;
    // Bytes the slot's text takes in the profile file; 0 when empty.
    std::uint32_t sizeInBytes(int recordIndex) const;
    std::uint32_t totalBytes() const { return total_; }

private:
    static bool isValidIndex(int recordIndex);

    std::vector<std::optional<std::u16string>> slots_;
    std::uint32_t total_ = 0;
};

}  // namespace quillmar::config
