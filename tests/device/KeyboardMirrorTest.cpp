#include "device/KeyboardMirror.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillmar::device {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(KeyboardMirror, HoldsOnlyWhatIsKnownByteForByte) {
    KeyboardMirror mirror;
    const Bytes piece = {1, 2, 3, 4};
    EXPECT_FALSE(mirror.holds(MirroredArea::KeyBlocks, 0, piece)) << "nothing known at first";
    mirror.remember(MirroredArea::KeyBlocks, 378, piece);

    struct Case {
        const char* what;
        MirroredArea area;
        std::size_t address;
        Bytes bytes;
        bool held;
    };
    const Case cases[] = {
        {"the bytes remembered", MirroredArea::KeyBlocks, 378, piece, true},
        {"a part of them", MirroredArea::KeyBlocks, 379, {2, 3}, true},
        {"one byte differs", MirroredArea::KeyBlocks, 378, {1, 2, 3, 5}, false},
        {"runs past the known end", MirroredArea::KeyBlocks, 380, {3, 4, 0}, false},
        {"starts before the known bytes", MirroredArea::KeyBlocks, 377, {0, 1}, false},
        {"the other area at the same address", MirroredArea::MacroArea, 378, piece, false},
    };
    for (const Case& c : cases) EXPECT_EQ(mirror.holds(c.area, c.address, c.bytes), c.held) << c.what;
}

TEST(KeyboardMirror, ForgettingLeavesAGapOrNothing) {
    KeyboardMirror mirror;
    mirror.remember(MirroredArea::MacroArea, 0, Bytes(112, 9));
    mirror.remember(MirroredArea::KeyBlocks, 0, Bytes(10, 1));
    mirror.forget(MirroredArea::MacroArea, 56, 1);
    mirror.forget(MirroredArea::MacroArea, 4000, 56);  // beyond what is known: nothing happens

    EXPECT_TRUE(mirror.holds(MirroredArea::MacroArea, 0, Bytes(56, 9)));
    EXPECT_FALSE(mirror.holds(MirroredArea::MacroArea, 56, Bytes(56, 9)));
    EXPECT_TRUE(mirror.holds(MirroredArea::MacroArea, 57, Bytes(55, 9)));

    mirror.forget();
    EXPECT_FALSE(mirror.holds(MirroredArea::MacroArea, 0, Bytes(1, 9)));
    EXPECT_FALSE(mirror.holds(MirroredArea::KeyBlocks, 0, Bytes(1, 1)));
}

}  // namespace
}  // namespace quillmar::device
