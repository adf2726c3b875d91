// The hidraw nodes last seen, shared by the entry points, the hotplug watcher and the
// standing reads so that all of them agree on which keyboards are attached.
#pragma once

#include "HidrawEnumeration.h"

#include <mutex>
#include <optional>
#include <vector>

namespace quillmar::hidraw {

class DeviceTable {
public:
    explicit DeviceTable(const HidrawSystem& system) : system_(system) {}

    // Reads sysfs again; true when the set of nodes differs from the last one.
    bool rescan();

    int count(const HidSelector& selector) const;
    std::optional<HidrawNode> first(const HidSelector& selector) const;
    std::vector<HidrawNode> allMatching(const HidSelector& selector) const;
    bool contains(const HidrawNode& node) const;

private:
    const HidrawSystem& system_;
    mutable std::mutex mutex_;
    std::vector<HidrawNode> nodes_;
};

} // namespace quillmar::hidraw
