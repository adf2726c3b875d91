// The twelve C entry points of libhidlane.so, each handed to the one service of the process.
#include "HidrawService.h"
#include "hidlane/hidlane.h"

using quillmar::hidraw::HidrawService;

namespace {
HidrawService& service() {
    static HidrawService instance(quillmar::hidraw::makeLinuxHidrawSystem);
    return instance;
}
} // namespace

extern "C" {

int Debug(int level) { return service().debug(level); }

int Init(int flags) { return service().init(flags); }

int End(void) { return service().end(); }

int RequestGetDeviceCount(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                          uint32_t* unitId) {
    return service().getDeviceCount(selector, callback, tag, check, unitId);
}

int DeleteRequestFromUnitId(uint32_t unitId) { return unitId == 0 ? 0 : service().deleteUnit(unitId); }

int DeleteRequestFromHandle(HidlaneCallback callback) { return service().deleteByCallback(callback); }

int RequestWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                 uint32_t length, uint32_t check, uint32_t* unitId) {
    return service().write(selector, callback, tag, data, length, check, unitId);
}

int RequestWriteOne(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                    uint32_t length, uint32_t check, uint32_t* unitId) {
    return service().writeOne(selector, callback, tag, data, length, check, unitId);
}

int RequestStatusWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                       uint32_t length, uint32_t check, uint32_t* unitId) {
    return service().statusWrite(selector, callback, tag, data, length, check, unitId);
}

int RequestStatusGet(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                     uint32_t* unitId) {
    return service().statusGet(selector, callback, tag, check, unitId);
}

int RequestAsyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                     uint32_t* unitId) {
    return service().asyncRead(selector, callback, tag, check, unitId);
}

int RequestStatusSetFeature(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                            const uint8_t* data, uint32_t length, uint32_t check, uint32_t* unitId) {
    return service().setFeature(selector, callback, tag, data, length, check, unitId);
}

} // extern "C"
