// quillmar-uhid: the simulated keyboard's firmware as a USB HID device of the Linux kernel,
// through /dev/uhid, so that libhidlane.so and the program meet a real hidraw node.
#include "UhidKeyboard.h"

#include <chrono>

#include <charconv>
#include <cstring>
#include <iostream>
#include <string_view>

int main(int argc, char** argv) {
    bool shared = false;
    int latencyMs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        const std::string_view latency = "--latency=";
        if (word == "--shared-interface") {
            shared = true;
        } else if (word.starts_with(latency) &&
                   std::from_chars(word.data() + latency.size(), word.data() + word.size(), latencyMs).ec == std::errc() &&
                   latencyMs >= 0 && latencyMs <= 60000) {
            continue;
        } else {
            std::cerr << "usage: quillmar-uhid [--shared-interface] [--latency=MS]\n"
                         "Serves the simulated keyboard (QUILLMAR_SIM_STATE, QUILLMAR_SIM_TRACE, QUILLMAR_SIM_CONTROL)\n"
                         "as USB device 0C45:7518 through /dev/uhid; prints \"ready\" once its hidraw nodes exist\n"
                         "and ends on SIGTERM. --latency=MS: every answer comes that much later.\n";
            return 2;
        }
    }
    quillmar::uhid::UhidKeyboard keyboard(shared, std::chrono::milliseconds(latencyMs));
    return keyboard.run(std::cout);
}
