/* A stand-in HID service library for the binding tests: every entry point
 * present unless STUB_WITHOUT_END, Init answering STUB_INIT_RESULT. */
#include "hidlane/hidlane.h"

int Debug(int level) { return level; }
int Init(int flags) { return flags == 0 ? STUB_INIT_RESULT : 0; }
#ifndef STUB_WITHOUT_END
int End(void) { return 1; }
#endif
int RequestGetDeviceCount(const HidSelector* s, HidlaneCallback c, uint32_t t, uint32_t k,
                          uint32_t* u) {
    (void)s, (void)c, (void)t, (void)k, (void)u;
    return 0;
}
int DeleteRequestFromUnitId(uint32_t unitId) { return unitId != 0; }
int DeleteRequestFromHandle(HidlaneCallback c) { (void)c; return 0; }
int RequestWrite(const HidSelector* s, HidlaneCallback c, uint32_t t, const uint8_t* d,
                 uint32_t n, uint32_t k, uint32_t* u) {
    (void)s, (void)c, (void)t, (void)d, (void)n, (void)k, (void)u;
    return 0;
}
int RequestWriteOne(const HidSelector* s, HidlaneCallback c, uint32_t t, const uint8_t* d,
                    uint32_t n, uint32_t k, uint32_t* u) {
    return RequestWrite(s, c, t, d, n, k, u);
}
int RequestStatusWrite(const HidSelector* s, HidlaneCallback c, uint32_t t, const uint8_t* d,
                       uint32_t n, uint32_t k, uint32_t* u) {
    return RequestWrite(s, c, t, d, n, k, u);
}
int RequestStatusGet(const HidSelector* s, HidlaneCallback c, uint32_t t, uint32_t k,
                     uint32_t* u) {
    return RequestGetDeviceCount(s, c, t, k, u);
}
int RequestAsyncRead(const HidSelector* s, HidlaneCallback c, uint32_t t, uint32_t k,
                     uint32_t* u) {
    return RequestGetDeviceCount(s, c, t, k, u);
}
int RequestStatusSetFeature(const HidSelector* s, HidlaneCallback c, uint32_t t,
                            const uint8_t* d, uint32_t n, uint32_t k, uint32_t* u) {
    return RequestWrite(s, c, t, d, n, k, u);
}
