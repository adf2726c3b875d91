// The hidraw nodes present now, read from sysfs: who made the device, which keyboard an
// interface belongs to, and what its report descriptor offers.
#pragma once

#include "HidrawSystem.h"
#include "ReportDescriptor.h"
#include "hidlane/hidlane.h"

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace quillmar::hidraw {

struct HidrawNode {
    std::string name;               // "hidraw3"
    std::filesystem::path devNode;  // <dev root>/hidraw3
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::string phys;               // HID_PHYS, also what HIDIOCGRAWPHYS reports
    std::string keyboardKey;        // equal for the interfaces of one physical device
    std::string instance;           // the HID device behind the node; new at every plug-in
    ReportDescriptor descriptor;

    bool operator==(const HidrawNode& other) const {
        return name == other.name && vendorId == other.vendorId && productId == other.productId &&
               phys == other.phys && keyboardKey == other.keyboardKey && instance == other.instance;
    }
};

// Every hidraw node udev has finished with, ordered by its number (hidraw2 before hidraw10).
// Nodes whose sysfs entries vanish while they are read are left out.
std::vector<HidrawNode> enumerateHidrawNodes(const HidrawSystem& system);

// Whether the node is the interface a selector names (only the fields its mask asks for).
bool nodeMatches(const HidrawNode& node, const HidSelector& selector);

// The number of distinct keyboards with an interface that matches.
int countMatchingDevices(const std::vector<HidrawNode>& nodes, const HidSelector& selector);

// The matching interface of the first keyboard, or nullptr. The keyboard is chosen first (the
// one whose lowest node number is lowest among those of the selector's maker and product),
// then its interface, so that the interfaces of two keyboards are never mixed.
const HidrawNode* firstMatchingNode(const std::vector<HidrawNode>& nodes, const HidSelector& selector);

// The keyboard's own nodes (0C45:7518), in order.
std::vector<HidrawNode> keyboardNodes(const std::vector<HidrawNode>& nodes);

// "command", "consumer", "status" or "other" for a keyboard interface.
const char* interfaceRole(const HidrawNode& node);

} // namespace quillmar::hidraw
