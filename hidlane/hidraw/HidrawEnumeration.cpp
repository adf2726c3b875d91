#include "HidrawEnumeration.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>
#include <sstream>

namespace quillmar::hidraw {
namespace fs = std::filesystem;
namespace {

constexpr uint32_t kMatchVendor = 0x1, kMatchProduct = 0x2, kMatchUsagePage = 0x4, kMatchUsage = 0x8;
constexpr size_t kMaxDescriptorBytes = 4096; // HID_MAX_DESCRIPTOR_SIZE

std::optional<std::string> readSmallFile(const fs::path& path, size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(limit, '\0');
    in.read(bytes.data(), std::streamsize(limit));
    bytes.resize(size_t(in.gcount()));
    return bytes;
}

std::string ueventValue(const std::string& uevent, const std::string& key) {
    std::istringstream lines(uevent);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
    return {};
}

// HID_ID is "bus:vendor:product", each in hex ("0003:00000C45:00007518").
bool parseHidId(const std::string& hidId, uint16_t& vendor, uint16_t& product) {
    unsigned bus = 0, v = 0, p = 0;
    if (std::sscanf(hidId.c_str(), "%x:%x:%x", &bus, &v, &p) != 3) return false;
    vendor = uint16_t(v);
    product = uint16_t(p);
    return true;
}

// HID_PHYS is "usb-<controller>-<port path>/input<N>": what comes before "/input" names the
// physical device, shared by all of its interfaces.
std::string keyboardKeyOf(const std::string& phys, const std::string& nodeName) {
    if (phys.empty()) return nodeName;
    return phys.substr(0, phys.rfind("/input"));
}

unsigned long nodeNumber(const std::string& name) {
    unsigned long number = 0;
    const size_t digits = std::min(name.find_first_of("0123456789"), name.size());
    std::from_chars(name.data() + digits, name.data() + name.size(), number);
    return number;
}

std::optional<HidrawNode> readNode(const HidrawSystem& system, const fs::path& entry) {
    std::error_code error;
    HidrawNode node;
    node.name = entry.filename().string();
    if (node.name.rfind("hidraw", 0) != 0 || node.name.size() == 6 ||
        node.name.find_first_not_of("0123456789", 6) != std::string::npos)
        return std::nullopt;
    auto uevent = readSmallFile(entry / "device" / "uevent", 8192);
    auto descriptor = readSmallFile(entry / "device" / "report_descriptor", kMaxDescriptorBytes);
    if (!uevent || !descriptor) return std::nullopt;
    if (!parseHidId(ueventValue(*uevent, "HID_ID"), node.vendorId, node.productId)) return std::nullopt;
    node.devNode = system.devRoot() / node.name;
    // sysfs links "device" to "0003:0C45:7518.000N", numbered anew at every plug-in.
    node.instance = fs::read_symlink(entry / "device", error).filename().string();
    node.phys = ueventValue(*uevent, "HID_PHYS");
    node.keyboardKey = keyboardKeyOf(node.phys, node.name);
    node.descriptor = parseReportDescriptor(reinterpret_cast<const uint8_t*>(descriptor->data()), descriptor->size());
    return node;
}

} // namespace

std::vector<HidrawNode> enumerateHidrawNodes(const HidrawSystem& system) {
    std::vector<HidrawNode> nodes;
    std::error_code error;
    // Entries come and go while they are listed: every step reports its error instead of throwing.
    for (fs::directory_iterator it(system.sysfsRoot() / "class" / "hidraw", error), end; !error && it != end;
         it.increment(error)) {
        auto node = readNode(system, it->path());
        if (node && system.udevFinished(node->name)) nodes.push_back(std::move(*node));
    }
    std::sort(nodes.begin(), nodes.end(),
              [](const HidrawNode& a, const HidrawNode& b) { return nodeNumber(a.name) < nodeNumber(b.name); });
    return nodes;
}

bool nodeMatches(const HidrawNode& node, const HidSelector& selector) {
    const uint32_t mask = selector.matchMask;
    if ((mask & kMatchVendor) && node.vendorId != selector.vendorId) return false;
    if ((mask & kMatchProduct) && node.productId != selector.productId) return false;
    if (!(mask & (kMatchUsagePage | kMatchUsage))) return true;
    return std::any_of(node.descriptor.collections.begin(), node.descriptor.collections.end(),
                       [&](const TopLevelCollection& c) {
                           return (!(mask & kMatchUsagePage) || c.usagePage == selector.usagePage) &&
                                  (!(mask & kMatchUsage) || c.usage == selector.usage);
                       });
}

int countMatchingDevices(const std::vector<HidrawNode>& nodes, const HidSelector& selector) {
    std::set<std::string> keyboards;
    for (const auto& node : nodes)
        if (nodeMatches(node, selector)) keyboards.insert(node.keyboardKey);
    return int(keyboards.size());
}

const HidrawNode* firstMatchingNode(const std::vector<HidrawNode>& nodes, const HidSelector& selector) {
    HidSelector sameProduct = selector;
    sameProduct.matchMask &= kMatchVendor | kMatchProduct;
    HidSelector commandOfProduct = hidlane_selector(HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE);
    commandOfProduct.matchMask = sameProduct.matchMask | kMatchUsagePage | kMatchUsage;
    commandOfProduct.vendorId = selector.vendorId;
    commandOfProduct.productId = selector.productId;
    // The nodes are in number order: the first keyboard with a command interface is chosen,
    // else the first keyboard at all, and every interface comes from that one.
    auto chosen = std::find_if(nodes.begin(), nodes.end(),
                               [&](const HidrawNode& n) { return nodeMatches(n, commandOfProduct); });
    if (chosen == nodes.end())
        chosen = std::find_if(nodes.begin(), nodes.end(), [&](const HidrawNode& n) { return nodeMatches(n, sameProduct); });
    if (chosen == nodes.end()) return nullptr;
    for (const auto& node : nodes)
        if (node.keyboardKey == chosen->keyboardKey && nodeMatches(node, selector)) return &node;
    return nullptr;
}

std::vector<HidrawNode> keyboardNodes(const std::vector<HidrawNode>& nodes) {
    std::vector<HidrawNode> mine;
    std::copy_if(nodes.begin(), nodes.end(), std::back_inserter(mine), [](const HidrawNode& n) {
        return n.vendorId == HIDLANE_VENDOR_ID && n.productId == HIDLANE_PRODUCT_ID;
    });
    return mine;
}

const char* interfaceRole(const HidrawNode& node) {
    if (node.descriptor.offers(HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE)) return "command";
    if (node.descriptor.offers(HIDLANE_CONSUMER_USAGE_PAGE, HIDLANE_CONSUMER_USAGE)) return "consumer";
    if (node.descriptor.offers(HIDLANE_STATUS_USAGE_PAGE, HIDLANE_STATUS_USAGE)) return "status";
    return "other";
}

} // namespace quillmar::hidraw
