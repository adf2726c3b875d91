#include "NodeAccess.h"

#include <cerrno>

namespace quillmar::hidraw {

int openVerifiedNode(HidrawSystem& system, const HidrawNode& node, int flags) {
    const int fd = system.openNode(node.devNode, flags);
    if (fd < 0) return -1;
    const auto identity = system.identify(fd);
    if (identity && identity->vendorId == node.vendorId && identity->productId == node.productId &&
        identity->phys == node.phys)
        return fd;
    system.closeNode(fd);
    errno = ENODEV;
    return -1;
}

namespace {
const TopLevelCollection* collectionOf(const HidrawNode& node, const HidSelector& selector) {
    return node.descriptor.collection(selector.usagePage, selector.usage);
}
} // namespace

std::optional<std::vector<uint8_t>> outgoingReport(const HidrawNode& node, const HidSelector& selector,
                                                   ReportKind kind, std::span<const uint8_t> bytes) {
    const TopLevelCollection* collection = collectionOf(node, selector);
    if (!collection || bytes.empty()) return std::nullopt;
    const uint8_t id = node.descriptor.numberedReports ? bytes[0] : 0;
    const auto& reports = collection->reports(kind);
    const auto declared = reports.find(id);
    if (declared == reports.end() || bytes.size() - 1 > declared->second) return std::nullopt;
    std::vector<uint8_t> report(1 + declared->second, 0);
    std::copy(bytes.begin() + 1, bytes.end(), report.begin() + 1);
    report[0] = id;
    return report;
}

std::optional<std::span<const uint8_t>> incomingReport(const HidrawNode& node, const HidSelector& selector,
                                                       std::span<const uint8_t> bytes, bool stripId) {
    if (!node.descriptor.numberedReports) return bytes;
    const TopLevelCollection* collection = collectionOf(node, selector);
    if (!collection || bytes.empty() || !collection->input.count(bytes[0])) return std::nullopt;
    return stripId ? bytes.subspan(1) : bytes;
}

} // namespace quillmar::hidraw
