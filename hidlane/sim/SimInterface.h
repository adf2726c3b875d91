#pragma once

#include <optional>

#include "hidlane/hidlane.h"

namespace quillmar::sim {

// The keyboard's three HID interfaces.
enum class SimInterface { Command, Consumer, Status };

// The first interface of the simulated keyboard the selector matches; the
// match mask bits select vendor (bit 0), product (1), usage page (2), usage (3).
std::optional<SimInterface> matchInterface(const HidSelector& selector);

}  // namespace quillmar::sim
