#pragma once

#include "keyboard/KeyMessage.h"

#include <optional>

class QKeyEvent;

namespace quillmar::shell {

// The message the Windows keyboard hook would have seen for a Qt key event:
// the key is found from the event's native scan code (the input event code
// plus 8 on X11 and Wayland), so keypad keys keep their codes whatever Num
// Lock says and Home is told from keypad 7. Nothing for keys the table does
// not know (the event goes on unchanged).
std::optional<keyboard::KeyMessage> keyMessageOf(const QKeyEvent& event);

}  // namespace quillmar::shell
