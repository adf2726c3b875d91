// quillmarctl's macro commands, run as a user runs them against the simulated
// keyboard.
#include "QuillmarctlFixture.h"

#include "config/ConfigStore.h"
#include "profiles/ProfileFile.h"

namespace {

using quillmar::testing::QuillmarctlTest;
using quillmar::testing::RunResult;

TEST_F(QuillmarctlTest, AShownMacroTypesBackIn) {
    const RunResult added = run("--device sim macro add --loop 3 'Quick fire' +A:125 -a:40 '+Caps Lock:0' '-caps lock:5'");
    ASSERT_EQ(added.exitCode, 0) << added.err;
    EXPECT_EQ(added.out, "macro 1\n");
    const std::string shown = "1: Quick fire (loop 3, 4 actions)\n+A:120\n-A:40\n+Caps Lock:0\n-Caps Lock:0\n";
    EXPECT_EQ(run("--device sim macro show 1").out, shown);

    EXPECT_EQ(run("--device sim macro add --loop=3 Again +A:120 -A:40 '+Caps Lock:0' '-Caps Lock:0'").out, "macro 2\n");
    EXPECT_EQ(run("--device sim macro list").out,
              "1: Quick fire (loop 3, 4 actions)\n2: Again (loop 3, 4 actions)\n");
    const std::string again = run("--device sim macro show 2").out;
    EXPECT_EQ(again.substr(again.find('\n')), shown.substr(shown.find('\n')));
}

TEST_F(QuillmarctlTest, MacroUsageErrorsChangeNothing) {
    ASSERT_EQ(run("--device sim macro add Kept +A:0").exitCode, 0);
    const char* cases[] = {
        "macro add X +A:40001",  "macro add X +Nokey:10",   "macro add X A:10",     "macro add X +A",
        "macro add X +A:-1",     "macro add --loop 0 X +A:0", "macro add --loop 256 X +A:0", "macro add X",
        "macro show 0",          "macro show 7",            "macro show",           "macro delete",
        "macro delete 101",      "macro rename 1",          "macro",
    };
    for (const char* arguments : cases) {
        const RunResult result = run(std::string("--device sim ") + arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_NE(result.err.find("usage:"), std::string::npos) << arguments;
    }
    EXPECT_EQ(run("--device sim macro list").out, "1: Kept (loop 1, 1 actions)\n");
    EXPECT_EQ(run("--device sim macro list", "QUILLMAR_SIM_UNPLUGGED=1").exitCode, 1);
}

TEST_F(QuillmarctlTest, DeletingKeepsOtherProfilesOnTheirMacros) {
    ASSERT_EQ(run("--device sim macro add First +A:0").exitCode, 0);
    ASSERT_EQ(run("--device sim macro add Second +B:0").exitCode, 0);
    ASSERT_EQ(run("--device sim remap --profile 2 C macro:2").exitCode, 0);

    // The keyboard names macros by position: Second moves up and profile 2's
    // C must follow it, although profile 1 is the active one.
    ASSERT_EQ(run("--device sim macro delete 1").exitCode, 0);
    EXPECT_EQ(run("--device sim macro list").out, "1: Second (loop 1, 1 actions)\n");
    const RunResult refused = run("--device sim macro delete 1");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quillmarctl: macro 1 is played by Profile2 C; --force resets those keys\n");

    EXPECT_EQ(run("--device sim macro delete --force 1").exitCode, 0);
    EXPECT_EQ(run("--device sim macro list").out, "");
    EXPECT_EQ(run("--device sim macro add Third +A:0").exitCode, 0);
    EXPECT_EQ(run("--device sim macro delete 1").exitCode, 0) << "C was reset, so nothing plays the new macro";
}

TEST_F(QuillmarctlTest, TheHundredAndFirstMacroIsRefused) {
    quillmar::config::ConfigStore store;
    quillmar::config::MacroList macros;
    for (int i = 0; i < 100; ++i) {
        macros.push_back(quillmar::config::newMacroRecord(u"m", macros));
        quillmar::config::appendMacroAction(macros.back(), {0, 0x1E, quillmar::config::KeyDirection::Press});
    }
    store.replaceMacros(std::move(macros));
    const auto file = folder_ / "hundred.kbp";
    ASSERT_EQ(quillmar::profiles::writeConfigurationFile(store, file), 1);
    ASSERT_EQ(run("--device sim import '" + file.string() + "'").exitCode, 0);

    const RunResult refused = run("--device sim macro add One +A:0");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quillmarctl: The maximum number of macro: 100\n");
}

}  // namespace
