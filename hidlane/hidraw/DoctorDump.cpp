#include "Doctor.h"
#include "HidrawEnumeration.h"
#include "HidrawService.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <ostream>
#include <thread>

namespace quillmar::hidraw {
namespace {

int ignoreEvent(const HidlaneEvent*) { return 1; }

std::string hexBytes(const std::vector<uint8_t>& bytes) {
    std::string text;
    char hex[4];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(hex, sizeof hex, "%02X", bytes[i]);
        text += (i % 16 == 0 ? (i ? "\n    " : "    ") : " ") + std::string(hex);
    }
    return text;
}

std::vector<uint8_t> descriptorBytes(const HidrawSystem& system, const HidrawNode& node) {
    std::ifstream in(system.sysfsRoot() / "class" / "hidraw" / node.name / "device" / "report_descriptor",
                     std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Command 3 (read the device info block, 44 bytes from address 0) in the 64-byte frame: report
// id, 16-bit sum of bytes 3 to 63 (low byte first), command, length, address, status.
std::vector<uint8_t> deviceInfoRequest() {
    std::vector<uint8_t> frame(64, 0);
    frame[0] = 4;
    frame[3] = 3;
    frame[4] = 44;
    unsigned sum = 0;
    for (size_t i = 3; i < frame.size(); ++i) sum += frame[i];
    frame[1] = uint8_t(sum);
    frame[2] = uint8_t(sum >> 8);
    return frame;
}

} // namespace

int runDoctorDump(std::ostream& out) {
    auto system = makeLinuxHidrawSystem();
    const auto nodes = keyboardNodes(enumerateHidrawNodes(*system));
    out << "Quillmar keyboard nodes: " << nodes.size() << "\n";
    for (const auto& node : nodes) {
        out << node.devNode.string() << " (" << interfaceRole(node) << ")\n  HID_PHYS " << node.phys << "\n  device "
            << node.instance << "\n  report descriptor:\n" << hexBytes(descriptorBytes(*system, node)) << "\n";
    }
    if (nodes.empty()) return 1;

    out << "Reports exchanged while the device info is asked for (\">\" to the keyboard, \"<\" from it),"
           " on standard error:" << std::endl;
    HidrawService service([system] { return system; });
    service.debug(2);
    if (service.init(0) <= 0) return 1;
    const HidSelector command = hidlane_selector(HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE);
    const HidSelector consumer = hidlane_selector(HIDLANE_CONSUMER_USAGE_PAGE, HIDLANE_CONSUMER_USAGE);
    uint32_t unit = 0;
    service.asyncRead(&consumer, ignoreEvent, HIDLANE_TAG_CONS,
                      hidlane_check_value(&consumer, ignoreEvent, HIDLANE_TAG_CONS, nullptr, 0), &unit);
    service.asyncRead(&command, ignoreEvent, HIDLANE_TAG_CTRL,
                      hidlane_check_value(&command, ignoreEvent, HIDLANE_TAG_CTRL, nullptr, 0), &unit);
    const auto request = deviceInfoRequest();
    const int sent = service.writeOne(&command, nullptr, 0, request.data(), uint32_t(request.size()),
                                      hidlane_check_value(&command, nullptr, 0, request.data(), uint32_t(request.size())),
                                      nullptr);
    // Press the keyboard's bank key now to see a notice as well.
    std::this_thread::sleep_for(std::chrono::seconds(3));
    service.end();
    out << (sent > 0 ? "The request went out.\n" : "The request could not be sent.\n");
    return sent > 0 ? 0 : 1;
}

} // namespace quillmar::hidraw
