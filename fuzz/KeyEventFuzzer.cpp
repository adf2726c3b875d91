// Key events as the desktop reports them (any native scan code, press,
// release, auto-repeat) and any hook message: the message of a known key
// carries its scan code, extended flag and state bits and gives the key back;
// any message gives its scan code's key or its virtual-key code's, and the
// key's name can be shown.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "keyboard/EvdevScanCodes.h"
#include "keyboard/KeyInfoTable.h"
#include "keyboard/KeyMessage.h"
#include "keyboard/KeyName.h"
#include "keyboard/VirtualKeyTable.h"
#include "text/Texts.h"

namespace {

using namespace quillmar::keyboard;

constexpr std::uint32_t kExtended = 1u << 24;
constexpr std::uint32_t kWasDown = 1u << 30;
constexpr std::uint32_t kReleased = 1u << 31;

void checkNativeKey(std::uint32_t native, bool release, bool repeat) {
    const auto message = keyMessageOfNativeKey(native, release, repeat);
    const auto code = native >= kNativeScanCodeOffset ? keyCodeOfEvdev(native - kNativeScanCodeOffset) : std::nullopt;
    if (message.has_value() != code.has_value()) std::abort();
    if (!message) return;
    const std::uint32_t p = message->parameter;
    if ((p & 0xFFFF) != 1 || ((p >> 16) & 0xFF) != (*code & 0xFF) || ((p & kExtended) != 0) != ((*code & 0x100) != 0) ||
        ((p & kWasDown) != 0) != (release || repeat) || ((p & kReleased) != 0) != release)
        std::abort();
    if (keyCodeFromKeyMessage(*message) != *code) std::abort();
}

KeyCode checkAnyMessage(KeyMessage message) {
    const KeyCode code = keyCodeFromKeyMessage(message);
    const auto scanned = static_cast<KeyCode>((message.parameter >> 16) & 0x1FF);
    if (code != scanned && code != keyCodeOfVirtualKey(message.virtualKey)) std::abort();
    return code;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    static const quillmar::text::BuiltInTexts texts;
    while (in.remaining_bytes() > 0) {
        if (in.ConsumeBool()) {
            const auto native = in.ConsumeIntegral<std::uint32_t>();
            const bool release = in.ConsumeBool();
            checkNativeKey(native, release, in.ConsumeBool());
        } else {
            const auto virtualKey = in.ConsumeIntegral<std::uint32_t>();
            const KeyCode code = checkAnyMessage({virtualKey, in.ConsumeIntegral<std::uint32_t>()});
            keyName(code, texts);
        }
    }
    return 0;
}
