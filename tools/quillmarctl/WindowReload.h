#pragma once

#include "Invocation.h"

namespace quillmar::ctl {

// Whether the command, as given, writes to the keyboard (rather than only
// looking at it or at files).
bool changesTheKeyboard(const Invocation& invocation);

// Asks the program's window running in this user's session, if any, to read
// the keyboard again so it shows what the command changed. The keyboard's
// lock must be free by now: the window reads under it.
void askRunningWindowToReload();

}  // namespace quillmar::ctl
