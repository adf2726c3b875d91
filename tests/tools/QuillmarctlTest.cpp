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

// Every refusal: its exit code and exactly what standard error says ("@"
// stands for the test's folder). Usage errors take one line that points at
// --help; files that cannot be read or written are not format errors.
TEST_F(QuillmarctlTest, MessagesAndExitCodes) {
    struct Case {
        std::string arguments;
        const char* environment;
        int exitCode;
        std::string err;
    };
    const std::string help = " (see quillmarctl --help)\n";
    const std::string keys = " (see quillmarctl keys)\n";
    const std::string gKeysKept =
        "quillmarctl: the keyboard keeps no G-key assignments, so a remap of G1 would be lost the next time the "
        "keyboard is read; use the program's window for G-keys\n";
    const Case cases[] = {
        {"--device sim info", "QUILLMAR_SIM_UNPLUGGED=1", 1, "quillmarctl: no keyboard attached\n"},
        {"--device sim profile 4", "", 2, "quillmarctl: the profile must be 1-3" + help},
        {"--device sim profile 0", "", 2, "quillmarctl: the profile must be 1-3" + help},
        {"--device sim profile 1 2", "", 2, "quillmarctl: profile takes at most one profile number" + help},
        {"--device sim info extra", "", 2, "quillmarctl: info takes no arguments" + help},
        {"--device sim frobnicate", "", 2, "quillmarctl: unknown command 'frobnicate'" + help},
        {"--device", "", 2, "quillmarctl: --device needs sim or a path" + help},
        {"", "", 2, "quillmarctl: no command given" + help},
        {"--device sim export", "", 2, "quillmarctl: export takes one FILE" + help},
        {"--device sim import a.kbp b.kbp", "", 2, "quillmarctl: import takes one FILE" + help},
        {"--device sim default", "", 2, "quillmarctl: default takes one FILE" + help},
        {"--device sim import @/none.kbp", "", 1, "quillmarctl: cannot read @/none.kbp: No such file or directory\n"},
        {"--device sim import @", "", 1, "quillmarctl: cannot read @: Is a directory\n"},
        {"--device sim export @/no/out.kbp", "", 1, "quillmarctl: cannot write @/no/out.kbp: No such file or directory\n"},
        {"--device sim export @", "", 1, "quillmarctl: cannot write @: Is a directory\n"},
        {"default @/no/out.kbp", "", 1, "quillmarctl: cannot write @/no/out.kbp: No such file or directory\n"},
        {"--device sim remap A", "", 2, "quillmarctl: remap takes a KEY and a TARGET" + help},
        {"--device sim remap Nokey key:B", "", 2, "quillmarctl: unknown key 'Nokey'" + keys},
        {"--device sim remap A key:Nokey", "", 2, "quillmarctl: unknown key 'Nokey'" + keys},
        {"--device sim remap A media:18", "", 2, "quillmarctl: media must be 0-17" + help},
        {"--device sim remap A function:11", "", 2, "quillmarctl: function must be 0-10" + help},
        {"--device sim remap A macro:0", "", 2, "quillmarctl: macro must be 1-100" + help},
        {"--device sim remap A macro:1", "", 2, "quillmarctl: the keyboard has no macro 1" + help},
        {"--device sim remap A launch:x", "", 2,
         "quillmarctl: unknown target 'launch:x'; a target is default, disabled, key:NAME, media:0-17, "
         "function:0-10 or macro:ID" + help},
        {"--device sim remap 'Num *' key:A", "", 2,
         "quillmarctl: the keyboard has no place for 'Num *', so it cannot be remapped" + keys},
        {"--device sim remap --profile 4 A disabled", "", 2, "quillmarctl: the profile must be 1-3" + help},
        {"--device sim remap --profile A disabled", "", 2, "quillmarctl: the profile must be 1-3" + help},
        {"--device sim remap G1 key:A", "", 1, gKeysKept},
        {"--device sim remap g1 macro:1", "", 1, gKeysKept},
        {"--device sim remap G9 key:A", "", 1, "quillmarctl: G9 only plays macros\n"},
        {"--device sim lighting brightness=5", "", 2, "quillmarctl: brightness must be 0-4" + help},
        {"--device sim lighting speed=-1", "", 2, "quillmarctl: speed must be 0-4" + help},
        {"--device sim lighting direction=1", "", 2, "quillmarctl: direction must be 255 or 0" + help},
        {"--device sim lighting colour=12345", "", 2,
         "quillmarctl: colour must be RRGGBB (six hexadecimal digits)" + help},
        {"--device sim lighting effect=99", "", 2,
         "quillmarctl: effect must be one of the effect ids quillmarctl info lists" + help},
        {"--device sim lighting glow=1", "", 2,
         "quillmarctl: unknown lighting setting 'glow=1'; the settings are effect, brightness, speed, direction, "
         "colour, multicolour and fixed" + help},
        {"--device sim rate 4", "", 2,
         "quillmarctl: the polling rate must be 0-3 or 125, 250, 500 or 1000 (Hz)" + help},
        {"--device sim rate 300", "", 2,
         "quillmarctl: the polling rate must be 0-3 or 125, 250, 500 or 1000 (Hz)" + help},
        {"--device sim rate 1 2", "", 2, "quillmarctl: rate takes at most one rate" + help},
        {"keys extra", "", 2, "quillmarctl: keys takes no arguments" + help},
        {"--device sim remap A disabled", "QUILLMAR_SIM_UNPLUGGED=1", 1, "quillmarctl: no keyboard attached\n"},
        {"--device sim lighting", "QUILLMAR_SIM_UNPLUGGED=1", 1, "quillmarctl: no keyboard attached\n"},
    };
    const auto inFolder = [this](std::string text) {
        for (auto at = text.find('@'); at != std::string::npos; at = text.find('@', at + 1))
            text.replace(at, 1, folder_.string());
        return text;
    };
    for (const Case& c : cases) {
        const RunResult result = run(inFolder(c.arguments), c.environment);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(result.err, inFolder(c.err)) << c.arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(folder_ / "no"));
}

TEST_F(QuillmarctlTest, HelpPrintsTheWholeUsageOnStandardOutput) {
    const RunResult result = run("--help");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_NE(result.out.find("commands:"), std::string::npos);
    EXPECT_NE(result.out.find("exit codes:"), std::string::npos);
}

// The usual spellings of a key are taken wherever a key is named, and keys
// lists every name with its aliases.
TEST_F(QuillmarctlTest, KeysAreTakenByTheirUsualSpellings) {
    for (const char* arguments : {"'left ctrl' key:escape", "PgUp key:Del", "up 'key:Num Plus'", "ESC key:return"}) {
        const RunResult result = run(std::string("--device sim remap ") + arguments);
        EXPECT_EQ(result.exitCode, 0) << arguments << result.err;
    }
    const RunResult keys = run("keys");
    EXPECT_EQ(keys.exitCode, 0);
    EXPECT_NE(keys.out.find("\nCtrl            Left Ctrl, LCtrl, Control, Left Control\n"), std::string::npos) << keys.out;
    EXPECT_NE(keys.out.find("\nPage Up         PgUp\n"), std::string::npos);
    EXPECT_NE(keys.out.find("\nA\n"), std::string::npos);
}

TEST_F(QuillmarctlTest, RateTakesAnIndexOrHertzAndShowsBoth) {
    EXPECT_EQ(run("--device sim rate 1000").out, "polling rate: 3 (1000 Hz)\n");
    EXPECT_EQ(run("--device sim rate 125Hz").out, "polling rate: 0 (125 Hz)\n");
    EXPECT_EQ(run("--device sim rate 2").out, "polling rate: 2 (500 Hz)\n");
    EXPECT_EQ(run("--device sim rate").out, "polling rate: 2 (500 Hz)\n");
}

}  // namespace
