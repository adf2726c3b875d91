// The command-line tool run as a user runs it, against the simulated keyboard.
#include "QuillmarctlFixture.h"

namespace {

using quillmar::testing::QuillmarctlTest;
using quillmar::testing::RunResult;

TEST_F(QuillmarctlTest, InfoShowsTheFactoryKeyboard) {
    const RunResult result = run("--device sim info");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.out,
              "active profile: 1\n"
              "macro memory: 8192\n"
              "effects: 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 20\n");
}

TEST_F(QuillmarctlTest, ProfileIsSetAndKeptByTheKeyboard) {
    EXPECT_EQ(run("--device sim profile 3").out, "active profile: 3\n");
    const RunResult again = run("--device=sim profile");
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "active profile: 3\n");
    EXPECT_EQ(run("--device sim info").out.substr(0, 18), "active profile: 3\n");
}

TEST_F(QuillmarctlTest, ExitCodes) {
    struct Case {
        const char* arguments;
        const char* environment;
        int exitCode;
    };
    const Case cases[] = {
        {"--device sim info", "QUILLMAR_SIM_UNPLUGGED=1", 1},
        {"--device /no/such/library.so info", "", 1},
        {"--device sim profile 4", "", 2},
        {"--device sim profile 0", "", 2},
        {"--device sim profile 1 2", "", 2},
        {"--device sim info extra", "", 2},
        {"--device sim frobnicate", "", 2},
        {"--device", "", 2},
        {"", "", 2},
        {"--device sim export", "", 2},
        {"--device sim import a.kbp b.kbp", "", 2},
        {"--device sim default", "", 2},
        {"--device sim import no-such-file.kbp", "", 3},
        {"--device sim remap A", "", 2},
        {"--device sim remap Nokey key:B", "", 2},
        {"--device sim remap A key:Nokey", "", 2},
        {"--device sim remap A media:18", "", 2},
        {"--device sim remap A function:11", "", 2},
        {"--device sim remap A macro:1", "", 2},
        {"--device sim remap A launch:x", "", 2},
        {"--device sim remap --profile 4 A disabled", "", 2},
        {"--device sim remap --profile A disabled", "", 2},
        {"--device sim lighting brightness=5", "", 2},
        {"--device sim lighting speed=-1", "", 2},
        {"--device sim lighting direction=1", "", 2},
        {"--device sim lighting colour=12345", "", 2},
        {"--device sim lighting effect=99", "", 2},
        {"--device sim lighting glow=1", "", 2},
        {"--device sim rate 4", "", 2},
        {"--device sim rate 1 2", "", 2},
        {"--device sim remap A disabled", "QUILLMAR_SIM_UNPLUGGED=1", 1},
        {"--device sim lighting", "QUILLMAR_SIM_UNPLUGGED=1", 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.arguments, c.environment).exitCode, c.exitCode) << c.arguments;
    }
}

}  // namespace
