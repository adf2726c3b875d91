#include "hidlane/sim/SimInterface.h"

#include <array>
#include <cstdint>

namespace quillmar::sim {
namespace {

struct InterfaceIdentity {
    SimInterface which;
    std::uint16_t usagePage;
    std::uint16_t usage;
};

constexpr std::array<InterfaceIdentity, 3> kInterfaces = {{
    {SimInterface::Command, HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE},
    {SimInterface::Consumer, HIDLANE_CONSUMER_USAGE_PAGE, HIDLANE_CONSUMER_USAGE},
    {SimInterface::Status, HIDLANE_STATUS_USAGE_PAGE, HIDLANE_STATUS_USAGE},
}};

bool fieldMatches(const HidSelector& selector, unsigned bit, std::uint16_t wanted, std::uint16_t actual) {
    return (selector.matchMask & (1u << bit)) == 0 || wanted == actual;
}

bool matches(const HidSelector& selector, const InterfaceIdentity& identity) {
    return fieldMatches(selector, 0, selector.vendorId, HIDLANE_VENDOR_ID) &&
           fieldMatches(selector, 1, selector.productId, HIDLANE_PRODUCT_ID) &&
           fieldMatches(selector, 2, selector.usagePage, identity.usagePage) &&
           fieldMatches(selector, 3, selector.usage, identity.usage);
}

}  // namespace

std::optional<SimInterface> matchInterface(const HidSelector& selector) {
    for (const auto& identity : kInterfaces)
        if (matches(selector, identity)) return identity.which;
    return std::nullopt;
}

}  // namespace quillmar::sim
