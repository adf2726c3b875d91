#include "keyboard/KeyPositions.h"

#include "keyboard/KeyEntryCodec.h"

namespace quillmar::keyboard {

bool hasKeyPosition(KeyCode code, const DefaultKeyTable& layout) {
    if (code == kNoKey) return false;
    for (int position = 0; position < kKeyPositions; ++position) {
        if (keyOfPosition(entryAt(layout, position)) == code) return true;
    }
    return false;
}

}  // namespace quillmar::keyboard
