/*
 * The HID service library's C interface, shared by the program and by both
 * implementations (libhidlane.so over hidraw, libhidlane-sim.so the simulated
 * keyboard). The program loads the library with dlopen and resolves all twelve
 * entry points below by name; every one must be present.
 *
 * Conventions of every entry point:
 *  - plain C calling convention, all integers host order (little-endian here);
 *  - results: > 0 success, 0 or less failure, unless stated otherwise;
 *  - every call that names a selector also carries a check value (see
 *    hidlane_check_value); a call whose check value is wrong is refused with 0
 *    and nothing is done;
 *  - a "unit id" names one standing request (a read or a status write); ids are
 *    never 0, and 0 passed to DeleteRequestFromUnitId is a no-op.
 */
#ifndef HIDLANE_HIDLANE_H
#define HIDLANE_HIDLANE_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Which interface of which device a request is for. 16 bytes. */
typedef struct HidSelector {
    uint32_t matchMask; /* HIDLANE_MATCH_ALL: vendor, product, usage page, usage */
    uint16_t vendorId;
    uint16_t productId;
    uint16_t usagePage;
    uint16_t usage;
    uint32_t reserved; /* 0 */
} HidSelector;

#define HIDLANE_MATCH_ALL 0x0000000Fu
#define HIDLANE_VENDOR_ID 0x0C45u
#define HIDLANE_PRODUCT_ID 0x7518u

/* The keyboard's three interfaces (usage page / usage). */
#define HIDLANE_COMMAND_USAGE_PAGE 0xFF1Cu
#define HIDLANE_COMMAND_USAGE 0x0092u
#define HIDLANE_CONSUMER_USAGE_PAGE 0x000Cu
#define HIDLANE_CONSUMER_USAGE 0x0001u
#define HIDLANE_STATUS_USAGE_PAGE 0x0008u
#define HIDLANE_STATUS_USAGE 0x0089u

/* Four-letter tags: the letters read from the most significant byte. */
#define HIDLANE_TAG_CTRL 0x4354524Cu /* "CTRL": answers on the command interface */
#define HIDLANE_TAG_CONS 0x434F4E53u /* "CONS": notices on the consumer interface */
#define HIDLANE_TAG_DEL 0x004C4544u  /* "DEL": status word writes */

/* Event kinds passed to the callback. */
#define HIDLANE_EVENT_DEVICE_COUNT 0u /* the number of attached keyboards changed */
#define HIDLANE_EVENT_DATA 1u         /* an input report arrived for a standing read */

/* The request record an event points at. For a data event lengthOrCount is
 * the number of bytes at data (for "CTRL" a whole 64-byte answer report, for
 * "CONS" the notice whose first two bytes, little-endian, are its event code).
 * For a device-count event lengthOrCount is the new count and data is NULL.
 * The record and the bytes are valid only during the callback. */
typedef struct HidlaneRequestRecord {
    uint32_t tag;
    uint32_t lengthOrCount;
    const uint8_t* data;
} HidlaneRequestRecord;

typedef struct HidlaneEvent {
    uint32_t kind;
    const HidlaneRequestRecord* request;
} HidlaneEvent;

/* Called on a library thread; returns 1. Events of one standing read arrive
 * on that read's own thread, one at a time, in order; different standing reads
 * use different threads. Device-count events go to the "CTRL" read's callback
 * on its thread. A callback is never called from inside an entry point. */
typedef int (*HidlaneCallback)(const HidlaneEvent* event);

/* Diagnostics level (0 = quiet). Returns the previous level. */
int Debug(int level);

/* Starts the library; flags must be 0. Returns > 0 on success. Calling it
 * again while started returns > 0 and changes nothing. */
int Init(int flags);

/* Stops every standing request and the library's threads. Returns 1. */
int End(void);

/* Number of attached keyboards whose interface matches the selector (0 = none).
 * callback and tag are unused (pass NULL and 0); unitId may be NULL. */
int RequestGetDeviceCount(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                          uint32_t check, uint32_t* unitId);

/* Ends the standing request with that unit id; after it returns its callback
 * is not called again. Returns 1 when such a request existed, else 0. */
int DeleteRequestFromUnitId(uint32_t unitId);

/* Ends every standing request whose callback is the given one. Returns the
 * number of requests ended. */
int DeleteRequestFromHandle(HidlaneCallback callback);

/* Writes length bytes (an output report, report id first) to the matching
 * interface of every attached keyboard. Returns the number of keyboards written. */
int RequestWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                 const uint8_t* data, uint32_t length, uint32_t check, uint32_t* unitId);

/* Writes one output report (length bytes, report id first; 64 for the command
 * interface) to the first matching keyboard. Returns > 0 when the report went
 * out; 0 when no keyboard is attached, the check value is wrong or the write
 * failed. Any answer comes later to the "CTRL" read's callback, never from
 * inside this call. callback, tag and unitId are unused (NULL, 0, NULL). */
int RequestWriteOne(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                    const uint8_t* data, uint32_t length, uint32_t check, uint32_t* unitId);

/* Sends the status word (length 2: byte 0 and byte 1) to the status interface
 * and keeps it as a standing request with a new unit id stored at *unitId.
 * The callback is not called for status writes. Returns > 0 when sent. */
int RequestStatusWrite(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                       const uint8_t* data, uint32_t length, uint32_t check, uint32_t* unitId);

/* Asks for the status interface's last status word; it arrives as one data
 * event with that tag (2 bytes). Returns > 0 when asked. */
int RequestStatusGet(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                     uint32_t check, uint32_t* unitId);

/* Starts a standing read on the matching interface: every input report
 * becomes one data event with this tag to the callback. A new unit id is
 * stored at *unitId. Returns > 0 on success. */
int RequestAsyncRead(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                     uint32_t check, uint32_t* unitId);

/* Sends a feature report (report id first) to the matching interface.
 * Returns > 0 when sent. */
int RequestStatusSetFeature(const HidSelector* selector, HidlaneCallback callback, uint32_t tag,
                            const uint8_t* data, uint32_t length, uint32_t check,
                            uint32_t* unitId);

/* The byte table T of the check value. */
static const uint8_t HIDLANE_CHECK_TABLE[256] = {
    0x3B, 0xD8, 0x75, 0x12, 0xAF, 0x4C, 0xE9, 0x86, 0x23, 0xC0, 0x5D, 0xFA, 0x97, 0x34, 0xD1, 0x6E,
    0x0B, 0xA8, 0x45, 0xE2, 0x7F, 0x1C, 0xB9, 0x56, 0xF3, 0x90, 0x2D, 0xCA, 0x67, 0x04, 0xA1, 0x3E,
    0xDB, 0x78, 0x15, 0xB2, 0x4F, 0xEC, 0x89, 0x26, 0xC3, 0x60, 0xFD, 0x9A, 0x37, 0xD4, 0x71, 0x0E,
    0xAB, 0x48, 0xE5, 0x82, 0x1F, 0xBC, 0x59, 0xF6, 0x93, 0x30, 0xCD, 0x6A, 0x07, 0xA4, 0x41, 0xDE,
    0x7B, 0x18, 0xB5, 0x52, 0xEF, 0x8C, 0x29, 0xC6, 0x63, 0x00, 0x9D, 0x3A, 0xD7, 0x74, 0x11, 0xAE,
    0x4B, 0xE8, 0x85, 0x22, 0xBF, 0x5C, 0xF9, 0x96, 0x33, 0xD0, 0x6D, 0x0A, 0xA7, 0x44, 0xE1, 0x7E,
    0x1B, 0xB8, 0x55, 0xF2, 0x8F, 0x2C, 0xC9, 0x66, 0x03, 0xA0, 0x3D, 0xDA, 0x77, 0x14, 0xB1, 0x4E,
    0xEB, 0x88, 0x25, 0xC2, 0x5F, 0xFC, 0x99, 0x36, 0xD3, 0x70, 0x0D, 0xAA, 0x47, 0xE4, 0x81, 0x1E,
    0xBB, 0x58, 0xF5, 0x92, 0x2F, 0xCC, 0x69, 0x06, 0xA3, 0x40, 0xDD, 0x7A, 0x17, 0xB4, 0x51, 0xEE,
    0x8B, 0x28, 0xC5, 0x62, 0xFF, 0x9C, 0x39, 0xD6, 0x73, 0x10, 0xAD, 0x4A, 0xE7, 0x84, 0x21, 0xBE,
    0x5B, 0xF8, 0x95, 0x32, 0xCF, 0x6C, 0x09, 0xA6, 0x43, 0xE0, 0x7D, 0x1A, 0xB7, 0x54, 0xF1, 0x8E,
    0x2B, 0xC8, 0x65, 0x02, 0x9F, 0x3C, 0xD9, 0x76, 0x13, 0xB0, 0x4D, 0xEA, 0x87, 0x24, 0xC1, 0x5E,
    0xFB, 0x98, 0x35, 0xD2, 0x6F, 0x0C, 0xA9, 0x46, 0xE3, 0x80, 0x1D, 0xBA, 0x57, 0xF4, 0x91, 0x2E,
    0xCB, 0x68, 0x05, 0xA2, 0x3F, 0xDC, 0x79, 0x16, 0xB3, 0x50, 0xED, 0x8A, 0x27, 0xC4, 0x61, 0xFE,
    0x9B, 0x38, 0xD5, 0x72, 0x0F, 0xAC, 0x49, 0xE6, 0x83, 0x20, 0xBD, 0x5A, 0xF7, 0x94, 0x31, 0xCE,
    0x6B, 0x08, 0xA5, 0x42, 0xDF, 0x7C, 0x19, 0xB6, 0x53, 0xF0, 0x8D, 0x2A, 0xC7, 0x64, 0x01, 0x9E,
};

static inline uint32_t hidlane_check_bytes(const void* bytes, size_t length) {
    const uint8_t* p = (const uint8_t*)bytes;
    uint32_t sum = 0;
    for (size_t i = 0; i < length; ++i) sum += HIDLANE_CHECK_TABLE[p[i]];
    return sum;
}

/* The check value of a call: T summed over the 16 selector bytes, the callback
 * argument (the low 32 bits of its address, as 4 little-endian bytes; zeros
 * when NULL), the tag (4 bytes in memory order) and the payload. */
static inline uint32_t hidlane_check_value(const HidSelector* selector, HidlaneCallback callback,
                                           uint32_t tag, const uint8_t* payload,
                                           uint32_t length) {
    uint32_t callbackWord = (uint32_t)(uintptr_t)callback;
    uint8_t callbackBytes[4] = {(uint8_t)callbackWord, (uint8_t)(callbackWord >> 8),
                                (uint8_t)(callbackWord >> 16), (uint8_t)(callbackWord >> 24)};
    uint32_t sum = hidlane_check_bytes(selector, sizeof *selector);
    sum += hidlane_check_bytes(callbackBytes, 4);
    sum += hidlane_check_bytes(&tag, 4);
    if (payload) sum += hidlane_check_bytes(payload, length);
    return sum;
}

static inline HidSelector hidlane_selector(uint16_t usagePage, uint16_t usage) {
    HidSelector s;
    s.matchMask = HIDLANE_MATCH_ALL;
    s.vendorId = HIDLANE_VENDOR_ID;
    s.productId = HIDLANE_PRODUCT_ID;
    s.usagePage = usagePage;
    s.usage = usage;
    s.reserved = 0;
    return s;
}

#ifdef __cplusplus
} /* extern "C" */
static_assert(sizeof(HidSelector) == 16, "the selector is 16 bytes");
#endif

#endif /* HIDLANE_HIDLANE_H */
