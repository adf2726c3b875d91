#include "platform/Clock.h"

#include <gtest/gtest.h>

using quillmar::platform::SteadyClock;

TEST(SteadyClock, NeverGoesBack) {
    SteadyClock clock;
    auto first = clock.nowMs();
    EXPECT_GE(clock.nowMs(), first);
}
