// quillmar-uhid: the simulated keyboard's firmware as a USB HID device of the Linux kernel,
// through /dev/uhid, so that libhidlane.so and the program meet a real hidraw node.
#include "UhidKeyboard.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    bool shared = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--shared-interface") == 0) {
            shared = true;
        } else {
            std::cerr << "usage: quillmar-uhid [--shared-interface]\n"
                         "Serves the simulated keyboard (QUILLMAR_SIM_STATE, QUILLMAR_SIM_TRACE, QUILLMAR_SIM_CONTROL)\n"
                         "as USB device 0C45:7518 through /dev/uhid; prints \"ready\" once its hidraw nodes exist\n"
                         "and ends on SIGTERM.\n";
            return 2;
        }
    }
    quillmar::uhid::UhidKeyboard keyboard(shared);
    return keyboard.run(std::cout);
}
