#include "DeviceTable.h"

#include <algorithm>

namespace quillmar::hidraw {

bool DeviceTable::rescan() {
    auto fresh = enumerateHidrawNodes(system_);
    std::lock_guard lock(mutex_);
    if (fresh == nodes_) return false;
    nodes_ = std::move(fresh);
    return true;
}

int DeviceTable::count(const HidSelector& selector) const {
    std::lock_guard lock(mutex_);
    return countMatchingDevices(nodes_, selector);
}

std::optional<HidrawNode> DeviceTable::first(const HidSelector& selector) const {
    std::lock_guard lock(mutex_);
    const HidrawNode* node = firstMatchingNode(nodes_, selector);
    return node ? std::optional<HidrawNode>(*node) : std::nullopt;
}

std::vector<HidrawNode> DeviceTable::allMatching(const HidSelector& selector) const {
    std::lock_guard lock(mutex_);
    std::vector<HidrawNode> matching;
    std::copy_if(nodes_.begin(), nodes_.end(), std::back_inserter(matching),
                 [&](const HidrawNode& n) { return nodeMatches(n, selector); });
    return matching;
}

bool DeviceTable::contains(const HidrawNode& node) const {
    std::lock_guard lock(mutex_);
    return std::find(nodes_.begin(), nodes_.end(), node) != nodes_.end();
}

} // namespace quillmar::hidraw
