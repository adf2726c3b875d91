#include "shell/dialogs/QtKeyMessage.h"

#include <QKeyEvent>

namespace quillmar::shell {

std::optional<keyboard::KeyMessage> keyMessageOf(const QKeyEvent& event) {
    return keyboard::keyMessageOfNativeKey(event.nativeScanCode(), event.type() == QEvent::KeyRelease,
                                           event.isAutoRepeat());
}

}  // namespace quillmar::shell
