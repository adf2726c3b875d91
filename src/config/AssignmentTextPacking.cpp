#include "config/AssignmentTextPacking.h"

#include <algorithm>
#include <cstring>

namespace quillmar::config {

std::vector<std::uint8_t> packAssignmentTexts(const AssignmentTexts& texts,
                                              std::span<keyboard::KeyAssignment> records) {
    std::vector<std::uint8_t> area(texts.totalBytes(), 0);
    std::size_t offset = 0;
    const int count = std::min(kAssignmentRecordCount, static_cast<int>(records.size()));
    for (int index = 0; index < count; ++index) {
        keyboard::KeyAssignment& record = records[static_cast<std::size_t>(index)];
        const auto text = texts.text(index);
        const std::size_t size = texts.sizeInBytes(index);
        if (!carriesText(record)) continue;
        if (!text || offset + size > area.size()) {
            // Points at the end of the area: reads back as an empty text, not another record's.
            record.value = static_cast<std::uint32_t>(area.size());
            continue;
        }
        // The terminator is already in place: the area starts zeroed.
        std::memcpy(area.data() + offset, text->data(), text->size() * sizeof(char16_t));
        record.value = static_cast<std::uint32_t>(offset);
        offset += size;
    }
    return area;
}

}  // namespace quillmar::config
