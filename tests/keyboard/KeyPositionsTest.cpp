#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "keyboard/KeyPositions.h"
#include "keyboard/LayoutKeyList.h"

namespace quillmar::keyboard {
namespace {

// The built-in layout has no position for eight of the drawn keys; only
// those cannot be given another function.
TEST(HasKeyPosition, TheBuiltInLayoutLacksEightDrawnKeys) {
    std::vector<KeyCode> without;
    for (const LayoutKey& key : kLayoutKeyList)
        if (!hasKeyPosition(key.keyCode, kBuiltInDefaultKeyTable)) without.push_back(key.keyCode);
    std::sort(without.begin(), without.end());
    // Num *, Num 9, Num 6, Num +, Num 3, K45, Num Enter, Right Win
    EXPECT_EQ(without, (std::vector<KeyCode>{0x037, 0x049, 0x04D, 0x04E, 0x051, 0x056, 0x11C, 0x15C}));
    EXPECT_FALSE(hasKeyPosition(kNoKey, kBuiltInDefaultKeyTable));
}

}  // namespace
}  // namespace quillmar::keyboard
