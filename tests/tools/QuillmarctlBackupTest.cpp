// quillmarctl backup, backups and restore against the simulated keyboard, and
// the backups other commands keep before they overwrite the keyboard.
#include "QuillmarctlFixture.h"

#include <algorithm>
#include <iterator>
#include <regex>
#include <sstream>

#include "hidlane/sim/SimStateFile.h"

namespace quillmar {
namespace {

using testing::RunResult;

const std::regex kNameLine(R"(\d{8}-\d{6}(-\d+)?\n)");
const std::regex kListLine(R"((\d{8}-\d{6}(-\d+)?)  \d{4}-\d\d-\d\d \d\d:\d\d:\d\d  ([a-z-]+))");

struct Listed {
    std::string name;
    std::string operation;
};

class QuillmarctlBackupTest : public testing::QuillmarctlTest {
protected:
    sim::SimMemory keyboardMemory() {
        const auto memory = sim::loadSimState(folder_ / "sim.bin");
        return memory ? *memory : sim::factorySimMemory();
    }

    // What a backup holds of the keyboard: key blocks, macro area, lighting records.
    std::vector<std::uint8_t> configuration() {
        const sim::SimMemory memory = keyboardMemory();
        std::vector<std::uint8_t> all;
        for (const auto area : {sim::SimArea::KeyBlocks, sim::SimArea::MacroArea, sim::SimArea::Settings}) {
            const auto bytes = memory.area(area);
            std::copy(bytes.begin(), bytes.end(), std::back_inserter(all));
        }
        return all;
    }

    // quillmarctl backups, every line checked against the documented format.
    std::vector<Listed> backups() {
        const RunResult result = run("backups");
        EXPECT_EQ(result.exitCode, 0) << result.err;
        std::vector<Listed> lines;
        std::istringstream out(result.out);
        for (std::string line; std::getline(out, line);) {
            std::smatch match;
            EXPECT_TRUE(std::regex_match(line, match, kListLine)) << line;
            lines.push_back({match[1], match[3]});
        }
        return lines;
    }

    std::filesystem::path backupsFolder() const { return folder_ / "docs" / "Gaming Keyboard" / "Backups"; }
};

TEST_F(QuillmarctlBackupTest, ABackupIsListedAndRestoredByteForByte) {
    ASSERT_EQ(run("--device sim remap A key:B").exitCode, 0);
    ASSERT_EQ(run("--device sim macro add Burst +A:50 -A:50").exitCode, 0);
    ASSERT_EQ(run("--device sim lighting effect=20 brightness=2").exitCode, 0);
    const auto before = configuration();

    const RunResult made = run("--device sim backup");
    EXPECT_EQ(made.exitCode, 0) << made.err;
    ASSERT_TRUE(std::regex_match(made.out, kNameLine)) << made.out;
    const std::string name = made.out.substr(0, made.out.size() - 1);

    ASSERT_EQ(run("--device sim remap A disabled").exitCode, 0);
    ASSERT_EQ(run("--device sim macro delete 1").exitCode, 0);
    ASSERT_EQ(run("--device sim lighting effect=3 brightness=4").exitCode, 0);
    ASSERT_NE(configuration(), before);

    const RunResult restored = run("--device sim restore " + name);
    EXPECT_EQ(restored.exitCode, 0) << restored.err;
    EXPECT_EQ(restored.out, "");
    EXPECT_EQ(configuration(), before);

    const auto listed = backups();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].operation, "restore") << "newest first";
    EXPECT_EQ(listed[1].name, name);
    EXPECT_EQ(listed[1].operation, "backup");
}

TEST_F(QuillmarctlBackupTest, ImportAndAForcedMacroDeleteKeepABackupFirst) {
    ASSERT_EQ(run("--device sim export " + (folder_ / "saved.kbp").string()).exitCode, 0);
    ASSERT_EQ(run("--device sim import " + (folder_ / "saved.kbp").string()).exitCode, 0);
    ASSERT_EQ(run("--device sim macro add First +A:0").exitCode, 0);
    ASSERT_EQ(run("--device sim remap C macro:1").exitCode, 0);
    ASSERT_EQ(run("--device sim macro delete 1").exitCode, 1) << "refused: nothing to keep";
    ASSERT_EQ(run("--device sim macro delete --force 1").exitCode, 0);
    const auto listed = backups();
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0].operation, "macro-delete");
    EXPECT_EQ(listed[1].operation, "import");
}

TEST_F(QuillmarctlBackupTest, WrongArgumentsUnknownAndDamagedBackups) {
    const RunResult made = run("--device sim backup");
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const std::string name = made.out.substr(0, made.out.size() - 1);
    std::ofstream(backupsFolder() / name / "lighting.bin", std::ios::trunc) << "short";
    const std::string help = " (see quillmarctl --help)\n";

    struct Case {
        std::string arguments;
        int exitCode;
        std::string err;
    };
    const Case cases[] = {
        {"--device sim backup now", 2, "quillmarctl: backup takes no arguments" + help},
        {"backups all", 2, "quillmarctl: backups takes no arguments" + help},
        {"--device sim restore", 2, "quillmarctl: restore takes one backup NAME" + help},
        {"--device sim restore a b", 2, "quillmarctl: restore takes one backup NAME" + help},
        {"--device sim restore 20990101-000000", 1,
         "quillmarctl: there is no backup 20990101-000000 (quillmarctl backups lists them)\n"},
        {"--device sim restore " + name, 3, "The backup is damaged and was not restored: " + name + "\n"},
        {"--device sim backup", 1, "quillmarctl: no keyboard attached\n"},
    };
    const auto before = configuration();
    for (const Case& c : cases) {
        const RunResult result =
            run(c.arguments, c.arguments == "--device sim backup" ? "QUILLMAR_SIM_UNPLUGGED=1" : "");
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(result.err, c.err) << c.arguments;
        EXPECT_EQ(result.out, "") << c.arguments;
    }
    EXPECT_EQ(configuration(), before);
    EXPECT_EQ(backups().size(), 1u);
}

TEST_F(QuillmarctlBackupTest, AnImportWhoseBackupCannotBeMadeIsRefused) {
    ASSERT_EQ(run("--device sim export " + (folder_ / "saved.kbp").string()).exitCode, 0);
    ASSERT_EQ(run("--device sim remap A disabled").exitCode, 0);
    std::ofstream(backupsFolder()) << "in the way";
    const auto before = configuration();

    const RunResult refused = run("--device sim import " + (folder_ / "saved.kbp").string());
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "quillmarctl: could not back up the keyboard's configuration into " +
                               backupsFolder().string() + "; nothing was changed\n");
    EXPECT_EQ(configuration(), before);
}

}  // namespace
}  // namespace quillmar
