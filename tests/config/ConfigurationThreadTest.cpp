#include <gtest/gtest.h>

#include <thread>

#include "config/Configuration.h"
#include "config/MacroCommit.h"
#include "config/MacroFixtures.h"

namespace quillmar::config {
namespace {

using testing::assignMacro;
using testing::savedMacros;

// A commit on one thread and a holder of both locks on another see the
// working configuration only whole: every key plays a macro of the list
// committed last.
TEST(ConfigurationThreadTest, CommitsAndBothStoresHoldersDoNotInterleave) {
    Configuration configuration;
    ConfigStore& working = configuration.working;
    assignMacro(working, 0x1E, 0);

    std::thread committer([&] {
        for (int round = 0; round < 200; ++round) {
            MacroList list = savedMacros({static_cast<std::uint16_t>(1 + round % 2)});
            commitMacros(working, list, nullptr);
            assignMacro(working, 0x1E, 0);
        }
    });
    int inconsistent = 0;
    for (int round = 0; round < 200; ++round) {
        BothStoresLock held(configuration);
        const auto& key = working.records()[0x1E];
        if (key.value != 0 && static_cast<int>(key.value) != working.macroIdAt(0)) ++inconsistent;
        configuration.snapshot.releaseMacros();
    }
    committer.join();
    EXPECT_EQ(inconsistent, 0);
}

}  // namespace
}  // namespace quillmar::config
