#include "UhidLayout.h"

namespace quillmar::uhid {

std::vector<uint8_t> commandCollection() {
    return {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x85, kCommandReportId, 0x15, 0x00, 0x26, 0xFF, 0x00,
            0x75, 0x08, 0x95, 0x3F, 0x09, 0x01, 0x81, 0x02, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

std::vector<uint8_t> consumerCollection() {
    return {0x05, 0x0C, 0x09, 0x01, 0xA1, 0x01, 0x85, kConsumerReportId, 0x15, 0x00, 0x26, 0xFF, 0x7F,
            0x75, 0x10, 0x95, 0x01, 0x19, 0x00, 0x2A, 0xFF, 0x7F, 0x81, 0x00, 0xC0};
}

std::vector<uint8_t> statusCollection() {
    return {0x05, 0x08, 0x09, 0x89, 0xA1, 0x01, 0x85, kStatusReportId, 0x15, 0x00, 0x25, 0x01,
            0x75, 0x08, 0x95, 0x01, 0x09, 0x01, 0x91, 0x02, 0xC0};
}

std::vector<UhidInterface> keyboardInterfaces(const std::string& physPrefix, bool sharedInterface) {
    auto phys = [&](int n) { return physPrefix + "/input" + std::to_string(n); };
    UhidInterface consumer{phys(0), consumerCollection(), false, true, false};
    if (sharedInterface) {
        consumer.command = true;
        const auto command = commandCollection();
        consumer.descriptor.insert(consumer.descriptor.end(), command.begin(), command.end());
        return {consumer, {phys(1), statusCollection(), false, false, true}};
    }
    return {consumer, {phys(1), commandCollection(), true, false, false}, {phys(2), statusCollection(), false, false, true}};
}

} // namespace quillmar::uhid
