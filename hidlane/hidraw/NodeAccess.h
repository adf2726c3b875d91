// Opening a keyboard node and shaping the reports that cross it, as its descriptor says.
#pragma once

#include "HidrawEnumeration.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillmar::hidraw {

// Opens the node by its path and checks that it is still the device enumerated: a node
// number freed by an unplug may already belong to another device. Returns the descriptor,
// or -1 with errno set (ENODEV for another device).
int openVerifiedNode(HidrawSystem& system, const HidrawNode& node, int flags);

// The bytes to hand to write() or HIDIOCSFEATURE for a report given report id first: padded
// to the length the descriptor declares for that id, byte 0 = 0 when the collection has no
// report ids. Nothing when the collection has no such report or the bytes do not fit it.
std::optional<std::vector<uint8_t>> outgoingReport(const HidrawNode& node, const HidSelector& selector,
                                                   ReportKind kind, std::span<const uint8_t> bytes);

// The part of a report read from the node that belongs to the selector's collection: all of
// it, or without its report id when stripId; nothing for another collection's report.
std::optional<std::span<const uint8_t>> incomingReport(const HidrawNode& node, const HidSelector& selector,
                                                       std::span<const uint8_t> bytes, bool stripId);

} // namespace quillmar::hidraw
