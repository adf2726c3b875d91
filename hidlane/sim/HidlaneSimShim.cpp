// The HID service library's C entry points over the one simulated keyboard.
#include <optional>
#include <span>

#include "hidlane/hidlane.h"
#include "hidlane/sim/SimKeyboard.h"

namespace quillmar::sim {

// Never destroyed: the program does not call End, and its standing reads end
// with the process rather than racing the program's own teardown at exit.
SimKeyboard& sharedSimKeyboard() {
    static SimKeyboard* const keyboard = new SimKeyboard;
    return *keyboard;
}

namespace {

// The interface a call is for, when its selector names one of the keyboard's
// and its check value is right.
std::optional<SimInterface> checkedInterface(const HidSelector* selector, HidlaneCallback callback,
                                             std::uint32_t tag, const std::uint8_t* payload,
                                             std::uint32_t length, std::uint32_t check) {
    if (!selector || (length > 0 && !payload)) return std::nullopt;
    if (hidlane_check_value(selector, callback, tag, payload, length) != check) return std::nullopt;
    return matchInterface(*selector);
}

std::span<const std::uint8_t> payloadOf(const std::uint8_t* data, std::uint32_t length) {
    return data ? std::span<const std::uint8_t>(data, length) : std::span<const std::uint8_t>();
}

void storeUnitId(std::uint32_t* out, std::uint32_t unitId) {
    if (out && unitId != 0) *out = unitId;
}

}  // namespace
}  // namespace quillmar::sim

using quillmar::sim::checkedInterface;
using quillmar::sim::payloadOf;
using quillmar::sim::sharedSimKeyboard;
using quillmar::sim::storeUnitId;

extern "C" {

int Debug(int level) { return sharedSimKeyboard().setDebugLevel(level); }

int Init(int flags) {
    if (flags != 0) return 0;
    sharedSimKeyboard().start();
    return 1;
}

int End(void) {
    sharedSimKeyboard().stop();
    return 1;
}

int RequestGetDeviceCount(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                          uint32_t* /*unitId*/) {
    const auto where = checkedInterface(selector, callback, tag, nullptr, 0, check);
    return where ? sharedSimKeyboard().deviceCount(*where) : 0;
}

int DeleteRequestFromUnitId(uint32_t unitId) { return sharedSimKeyboard().closeRequest(unitId) ? 1 : 0; }

int DeleteRequestFromHandle(HidlaneCallback callback) { return sharedSimKeyboard().closeRequestsOf(callback); }

int RequestWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                 uint32_t length, uint32_t check, uint32_t* /*unitId*/) {
    const auto where = checkedInterface(selector, callback, tag, data, length, check);
    return where && sharedSimKeyboard().receiveOutputReport(*where, payloadOf(data, length)) ? 1 : 0;
}

int RequestWriteOne(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                    uint32_t length, uint32_t check, uint32_t* /*unitId*/) {
    const auto where = checkedInterface(selector, callback, tag, data, length, check);
    return where && sharedSimKeyboard().receiveOutputReport(*where, payloadOf(data, length)) ? 1 : 0;
}

int RequestStatusWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                       uint32_t length, uint32_t check, uint32_t* unitId) {
    const auto where = checkedInterface(selector, callback, tag, data, length, check);
    if (where != quillmar::sim::SimInterface::Status) return 0;
    const std::uint32_t id = sharedSimKeyboard().receiveStatusWord(callback, payloadOf(data, length));
    storeUnitId(unitId, id);
    return id != 0 ? 1 : 0;
}

int RequestStatusGet(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                     uint32_t* unitId) {
    const auto where = checkedInterface(selector, callback, tag, nullptr, 0, check);
    if (where != quillmar::sim::SimInterface::Status) return 0;
    const std::uint32_t id = sharedSimKeyboard().requestStatusWord(callback, tag);
    storeUnitId(unitId, id);
    return id != 0 ? 1 : 0;
}

int RequestAsyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                     uint32_t* unitId) {
    const auto where = checkedInterface(selector, callback, tag, nullptr, 0, check);
    if (!where) return 0;
    const std::uint32_t id = sharedSimKeyboard().openRead(*where, callback, tag);
    storeUnitId(unitId, id);
    return id != 0 ? 1 : 0;
}

int RequestStatusSetFeature(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                            const uint8_t* data, uint32_t length, uint32_t check, uint32_t* /*unitId*/) {
    const auto where = checkedInterface(selector, callback, tag, data, length, check);
    return where && sharedSimKeyboard().receiveFeatureReport(*where, payloadOf(data, length)) ? 1 : 0;
}

}  // extern "C"
