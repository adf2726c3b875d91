// The top-level collections of a HID report descriptor: which usage page and usage each
// interface offers, and whether its reports carry a report id as their first byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quillmar::hidraw {

struct TopLevelCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    std::vector<uint8_t> reportIds; // the report ids declared inside it, in order
};

struct ReportDescriptor {
    std::vector<TopLevelCollection> collections;
    bool numberedReports = false; // any Report ID item: every report starts with its id

    bool offers(uint16_t usagePage, uint16_t usage) const;
};

// Reads the short items of a descriptor; a truncated or malformed tail ends the parse
// with what was read so far.
ReportDescriptor parseReportDescriptor(const uint8_t* bytes, size_t length);

} // namespace quillmar::hidraw
