#pragma once

#include <functional>

#include "config/ConfigStore.h"
#include "config/MacroList.h"

namespace quillmar::config {

// Told the index (0..2047, profile slot × 512 + slot) of every assignment
// record that a commit turned back to Default, so that the main window can
// redraw that key's button. Called with the store's lock held: it must not
// hand the store to another thread and wait for it.
using KeyResetHandler = std::function<void(int recordIndex)>;

enum class MacroCommitStatus {
    Committed,
    InvalidList,  // more than 100 macros, or an id outside 1..100 or used twice
    OutOfMemory,
};

struct MacroCommitResult {
    MacroCommitStatus status = MacroCommitStatus::Committed;
    // Some assignment record was changed: the main window has changes to apply.
    bool assignmentsChanged = false;
};

// Makes an editor's list the store's macros, in list order, and keeps every
// play-macro key pointing at a macro that exists:
// - a key whose macro is gone, or whose id now belongs to a macro created
//   since the editor last committed (a recycled id), goes back to Default;
// - a key with macro id 0 is pointed at the list's first macro.
// The stored copies are normalised and marked saved; on success the list's
// own records are marked saved as well, so they count as committed from now
// on. An invalid list or a failed allocation changes nothing.
MacroCommitResult commitMacros(ConfigStore& working, MacroList& editedList,
                               const KeyResetHandler& onKeyReset);

}  // namespace quillmar::config
