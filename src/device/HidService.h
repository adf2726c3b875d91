#pragma once

#include "hidlane/hidlane.h"

namespace quillmar::device {

// The twelve entry points of the HID service library, resolved once. Tests
// fill it with an in-process fake.
struct HidService {
    decltype(&::Debug) Debug = nullptr;
    decltype(&::Init) Init = nullptr;
    decltype(&::End) End = nullptr;
    decltype(&::RequestGetDeviceCount) RequestGetDeviceCount = nullptr;
    decltype(&::DeleteRequestFromUnitId) DeleteRequestFromUnitId = nullptr;
    decltype(&::DeleteRequestFromHandle) DeleteRequestFromHandle = nullptr;
    decltype(&::RequestWrite) RequestWrite = nullptr;
    decltype(&::RequestWriteOne) RequestWriteOne = nullptr;
    decltype(&::RequestStatusWrite) RequestStatusWrite = nullptr;
    decltype(&::RequestStatusGet) RequestStatusGet = nullptr;
    decltype(&::RequestAsyncRead) RequestAsyncRead = nullptr;
    decltype(&::RequestStatusSetFeature) RequestStatusSetFeature = nullptr;
};

// The keyboard's three interfaces.
inline HidSelector commandSelector() {
    return hidlane_selector(HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE);
}
inline HidSelector consumerSelector() {
    return hidlane_selector(HIDLANE_CONSUMER_USAGE_PAGE, HIDLANE_CONSUMER_USAGE);
}
inline HidSelector statusSelector() {
    return hidlane_selector(HIDLANE_STATUS_USAGE_PAGE, HIDLANE_STATUS_USAGE);
}

}  // namespace quillmar::device
