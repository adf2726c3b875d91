#include "DeviceErrors.h"

#include "device/ResultCode.h"

namespace quillmar::ctl {

std::string describeDeviceResult(int result) {
    using namespace device;
    switch (result) {
    case kNoKeyboard:
        return "no keyboard attached";
    case kWriteRefused:
        return "the keyboard could not be written to (run 'quillmarctl doctor' to see why)";
    case kNoAnswer:
        return "the keyboard did not answer";
    case kStatusFailed:
    case kStatusRejected:
        return "the keyboard refused the command";
    case kBadProfile:
        return "there is no such profile on the keyboard";
    default:
        return "the keyboard could not be reached (error " + std::to_string(result) + ")";
    }
}

}  // namespace quillmar::ctl
