// The keyboard as the kernel sees it: its interfaces, each with the report descriptor and the
// physical path a USB keyboard would give it. The descriptors follow the assumptions the hidraw
// library is built on: command reports under id 4 with 63 data bytes each way, consumer
// notices under id 3 with a 16-bit code, the status word as output report 5 with one byte.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quillmar::uhid {

inline constexpr uint8_t kCommandReportId = 4;
inline constexpr uint8_t kConsumerReportId = 3;
inline constexpr uint8_t kStatusReportId = 5;

struct UhidInterface {
    std::string phys; // "<prefix>/inputN": one prefix for all interfaces, as on one USB device
    std::vector<uint8_t> descriptor;
    bool command = false;
    bool consumer = false;
    bool status = false;
};

std::vector<uint8_t> commandCollection();
std::vector<uint8_t> consumerCollection();
std::vector<uint8_t> statusCollection();

// Three interfaces (consumer, command, status); with sharedInterface the command and consumer
// collections share the first one.
std::vector<UhidInterface> keyboardInterfaces(const std::string& physPrefix, bool sharedInterface);

} // namespace quillmar::uhid
