// The twelve C entry points of libhidlane.so, each handed to the one service of the process.
#include "HidrawService.h"
#include "hidlane/hidlane.h"

#include <cstdlib>

using quillmar::hidraw::HidrawService;

namespace {
// QUILLMAR_HIDLANE_DEBUG sets the starting Debug level, for a program that does not set one.
HidrawService& service() {
    static HidrawService instance(quillmar::hidraw::makeLinuxHidrawSystem);
    static const bool levelSet = [] {
        if (const char* level = std::getenv("QUILLMAR_HIDLANE_DEBUG")) instance.debug(std::atoi(level));
        return true;
    }();
    (void)levelSet;
    return instance;
}

// No exception may cross into the C caller (memory running out while a table is read, say):
// the call fails instead.
template <typename Call>
int guarded(Call call) noexcept {
    try {
        return call();
    } catch (...) {
        return 0;
    }
}
} // namespace

extern "C" {

int Debug(int level) { return guarded([&] { return service().debug(level); }); }

int Init(int flags) { return guarded([&] { return service().init(flags); }); }

int End(void) { return guarded([&] { return service().end(); }); }

int RequestGetDeviceCount(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                          uint32_t* unitId) {
    return guarded([&] { return service().getDeviceCount(selector, callback, tag, check, unitId); });
}

int DeleteRequestFromUnitId(uint32_t unitId) { return guarded([&] { return unitId == 0 ? 0 : service().deleteUnit(unitId); }); }

int DeleteRequestFromHandle(HidlaneCallback callback) { return guarded([&] { return service().deleteByCallback(callback); }); }

int RequestWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                 uint32_t length, uint32_t check, uint32_t* unitId) {
    return guarded([&] { return service().write(selector, callback, tag, data, length, check, unitId); });
}

int RequestWriteOne(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                    uint32_t length, uint32_t check, uint32_t* unitId) {
    return guarded([&] { return service().writeOne(selector, callback, tag, data, length, check, unitId); });
}

int RequestStatusWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, const uint8_t* data,
                       uint32_t length, uint32_t check, uint32_t* unitId) {
    return guarded([&] { return service().statusWrite(selector, callback, tag, data, length, check, unitId); });
}

int RequestStatusGet(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                     uint32_t* unitId) {
    return guarded([&] { return service().statusGet(selector, callback, tag, check, unitId); });
}

int RequestAsyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag, uint32_t check,
                     uint32_t* unitId) {
    return guarded([&] { return service().asyncRead(selector, callback, tag, check, unitId); });
}

int RequestStatusSetFeature(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                            const uint8_t* data, uint32_t length, uint32_t check, uint32_t* unitId) {
    return guarded([&] { return service().setFeature(selector, callback, tag, data, length, check, unitId); });
}

} // extern "C"
