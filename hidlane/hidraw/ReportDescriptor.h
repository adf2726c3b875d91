// The top-level collections of a HID report descriptor: which usage page and usage each
// interface offers, and which reports (id and length) each one reads and takes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace quillmar::hidraw {

enum class ReportKind { Input, Output, Feature };

// Report id -> the number of data bytes after the id. Id 0 when the descriptor has no ids.
using ReportLengths = std::map<uint8_t, size_t>;

struct TopLevelCollection {
    uint16_t usagePage = 0;
    uint16_t usage = 0;
    ReportLengths input, output, feature;

    const ReportLengths& reports(ReportKind kind) const;
    // The ids of all its reports, in order and without repeats.
    std::vector<uint8_t> reportIds() const;
};

struct ReportDescriptor {
    std::vector<TopLevelCollection> collections;
    bool numberedReports = false; // any Report ID item: every report starts with its id

    bool offers(uint16_t usagePage, uint16_t usage) const;
    const TopLevelCollection* collection(uint16_t usagePage, uint16_t usage) const;
};

// Reads the short items of a descriptor; a truncated or malformed tail ends the parse
// with what was read so far.
ReportDescriptor parseReportDescriptor(const uint8_t* bytes, size_t length);

} // namespace quillmar::hidraw
