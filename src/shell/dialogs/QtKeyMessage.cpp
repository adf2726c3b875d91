#include "shell/dialogs/QtKeyMessage.h"

#include "keyboard/EvdevScanCodes.h"

#include <QKeyEvent>

namespace quillmar::shell {

std::optional<keyboard::KeyMessage> keyMessageOf(const QKeyEvent& event) {
    const std::uint32_t native = event.nativeScanCode();
    if (native < keyboard::kNativeScanCodeOffset) return std::nullopt;
    const auto code = keyboard::keyCodeOfEvdev(native - keyboard::kNativeScanCodeOffset);
    if (!code) return std::nullopt;
    return keyboard::keyMessageOfKeyEvent(*code, event.type() == QEvent::KeyRelease, event.isAutoRepeat());
}

}  // namespace quillmar::shell
