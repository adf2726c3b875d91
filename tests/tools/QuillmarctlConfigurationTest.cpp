// The tool's configuration commands against the simulated keyboard: what
// lands in the keyboard's memory, what comes back out, and what is refused.
#include "QuillmarctlFixture.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

#include "config/ImageFixtures.h"
#include "config/MacroArea.h"
#include "hidlane/sim/SimStateFile.h"
#include "keyboard/DefaultKeyTable.h"
#include "text/IniFile.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"

namespace quillmar {
namespace {

using namespace std::chrono_literals;
using config::testing::Bytes;
using config::testing::macroOf;
using config::testing::macroWithActions;
using config::testing::press;
using config::testing::release;
using keyboard::AssignmentType;
using keyboard::KeyAssignment;
using testing::RunResult;

constexpr int kPositionOfA = 19;
constexpr int kPositionOfF1 = 16;
constexpr int kPositionOfCapsLock = 11;
constexpr int kSlotOfA = 0x1E;
constexpr int kSlotOfF1 = 0x3B;
constexpr int kSlotOfB = 0x30;

// The language file's English texts, as the window shows them.
const std::string kNamesLeftOut = "The keyboard's memory is nearly full, so the macro names were not stored.";
const std::array<std::string, 4> kRatesHz = {"125", "250", "500", "1000"};

Bytes defaultEntry(int position) {
    const auto at = keyboard::kBuiltInDefaultKeyTable.begin() + position * 3;
    return Bytes(at, at + 3);
}

class QuillmarctlConfigurationTest : public testing::QuillmarctlTest {
protected:
    // The keyboard's memory as the simulator keeps it between runs.
    sim::SimMemory keyboardMemory() {
        const auto memory = sim::loadSimState(folder_ / "sim.bin");
        return memory ? *memory : sim::factorySimMemory();
    }

    Bytes entryOnKeyboard(int profile, int position) {
        const auto blocks = keyboardMemory().keyBlocks;
        const auto at = blocks.begin() + profile * 378 + position * 3;
        return Bytes(at, at + 3);
    }

    Bytes settingsOnKeyboard(int profile) {
        const auto settings = keyboardMemory().settings;
        return Bytes(settings.begin() + profile * 42, settings.begin() + (profile + 1) * 42);
    }

    std::filesystem::path profileFile() const { return folder_ / "docs" / "Gaming Keyboard" / "$Profile0"; }

    // A profile file of the configuration given, written the way the program writes it.
    std::string writeProfileFile(const std::string& name, const config::MacroList& macros,
                                 const std::vector<std::pair<int, KeyAssignment>>& records = {}) {
        config::ConfigStore store;
        profiles::installDefaultConfiguration(store);
        {
            auto held = store.lock();
            for (const auto& [index, record] : records) store.records()[static_cast<std::size_t>(index)] = record;
        }
        store.replaceMacros(config::MacroList(macros));
        const auto path = folder_ / name;
        EXPECT_EQ(profiles::writeConfigurationFile(store, path), 1);
        return path.string();
    }

    std::unique_ptr<config::ConfigStore> loadFile(const std::filesystem::path& path) {
        auto store = std::make_unique<config::ConfigStore>();
        EXPECT_EQ(profiles::loadConfigurationFile(*store, path), 1) << path;
        return store;
    }
};

TEST_F(QuillmarctlConfigurationTest, RemapLandsInTheProfilesKeyBlock) {
    struct Case {
        const char* arguments;
        int profile;
        int position;
        Bytes entry;
    };
    const Case cases[] = {
        {"A key:B", 0, kPositionOfA, {0x02, 0x02, 0x05}},
        {"--profile 2 F1 media:7", 1, kPositionOfF1, {0x03, 0xE2, 0x00}},
        {"--profile=3 'caps lock' function:4", 2, kPositionOfCapsLock, {0x05, 0x05, 0x04}},
        {"--profile 3 A disabled", 2, kPositionOfA, {0x00, 0x00, 0x00}},
        {"--profile 3 A default", 2, kPositionOfA, defaultEntry(kPositionOfA)},
    };
    for (const Case& c : cases) {
        const RunResult result = run(std::string("--device sim remap ") + c.arguments);
        EXPECT_EQ(result.exitCode, 0) << c.arguments << result.err;
        EXPECT_EQ(result.out, "") << c.arguments;
        EXPECT_EQ(entryOnKeyboard(c.profile, c.position), c.entry) << c.arguments;
    }
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfA), Bytes({0x02, 0x02, 0x05})) << "the other profiles keep theirs";
    EXPECT_EQ(entryOnKeyboard(1, kPositionOfA), defaultEntry(kPositionOfA));

    // The profile file written with the remap says the same.
    const auto store = loadFile(profileFile());
    auto held = store->lock();
    EXPECT_EQ(store->records()[kSlotOfA].type, AssignmentType::Key);
    EXPECT_EQ(store->records()[kSlotOfA].value, static_cast<std::uint32_t>(kSlotOfB));
    EXPECT_EQ(store->records()[512 + kSlotOfF1].type, AssignmentType::Media);
}

// The keyboard keeps no G-key assignments, so a remap of one would be
// dropped by the next command's read-back; it is refused before anything is
// touched.
TEST_F(QuillmarctlConfigurationTest, AGKeyRemapIsRefusedAndChangesNothing) {
    ASSERT_EQ(run("--device sim remap A key:B").exitCode, 0);
    const auto blocksBefore = keyboardMemory().keyBlocks;
    const RunResult result = run("--device sim remap g1 key:B");
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find("keeps no G-key assignments"), std::string::npos) << result.err;
    EXPECT_EQ(keyboardMemory().keyBlocks, blocksBefore);
    const auto store = loadFile(profileFile());
    auto held = store->lock();
    EXPECT_EQ(store->records()[0x100].type, AssignmentType::Default);
}

TEST_F(QuillmarctlConfigurationTest, ImportedMacrosLandAndExportGivesTheSameConfigurationBack) {
    const config::MacroList macros = {macroOf(u"Dash", 1, 3, {press(0x1E, 120), release(0x1E, 30)}),
                                      macroOf(u"Combo", 2, 1, {press(0x2A), press(0x1F, 50), release(0x1F), release(0x2A)})};
    const std::vector<std::pair<int, KeyAssignment>> records = {
        {kSlotOfA, {AssignmentType::PlayMacro, 3, 2}},
        {512 + kSlotOfF1, {AssignmentType::Function, 0, 10}},
        {1024 + kSlotOfA, {AssignmentType::Key, 0, 0x2A}},
        {1024 + kSlotOfF1, {AssignmentType::LaunchProgram, 0, 0}},
    };
    const std::string file = writeProfileFile("in.kbp", macros, records);

    const RunResult imported = run("--device sim import '" + file + "'");
    ASSERT_EQ(imported.exitCode, 0) << imported.err;
    EXPECT_EQ(imported.err, "") << "no progress when standard error is no terminal";
    const Bytes area = config::buildMacroArea(macros, true);
    const auto onKeyboard = keyboardMemory().macroArea;
    EXPECT_EQ(Bytes(onKeyboard.begin(), onKeyboard.begin() + static_cast<std::ptrdiff_t>(area.size())), area);
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfA), Bytes({0x05, 0x01, 0x01})) << "plays the second macro";
    EXPECT_EQ(entryOnKeyboard(2, kPositionOfF1), defaultEntry(kPositionOfF1)) << "launch-program keeps its default";

    const auto exportedPath = folder_ / "out.kbp";
    const RunResult exported = run("--device sim export '" + exportedPath.string() + "'");
    ASSERT_EQ(exported.exitCode, 0) << exported.err;
    const auto store = loadFile(exportedPath);
    auto held = store->lock();
    for (const auto& [index, record] : records) {
        const KeyAssignment& back = store->records()[static_cast<std::size_t>(index)];
        if (record.type == AssignmentType::LaunchProgram) {
            EXPECT_EQ(back.type, AssignmentType::Default) << "texts never come back from the keyboard";
            continue;
        }
        EXPECT_EQ(back.type, record.type) << index;
        EXPECT_EQ(back.value, record.value) << index;
    }
    EXPECT_EQ(store->texts().totalBytes(), 0u);
    ASSERT_EQ(store->macroCount(), 2);
    for (std::size_t i = 0; i < macros.size(); ++i) {
        EXPECT_EQ(config::macroName(store->macros()[i]), config::macroName(macros[i]));
        EXPECT_EQ(store->macros()[i].loopCount, macros[i].loopCount);
        EXPECT_EQ(store->macros()[i].actionCount, macros[i].actionCount);
        EXPECT_EQ(store->macros()[i].actions[1].delayMs, macros[i].actions[1].delayMs);
    }
}

TEST_F(QuillmarctlConfigurationTest, NamesThatDoNotFitAreLeftOutWithAWarning) {
    // 28 + 4 × 2040 = 8188 bytes without names, 8200 with: the keyboard has 8192.
    const config::MacroList macros = {macroWithActions(u"big", 1, 2000), macroWithActions(u"few", 2, 40)};
    ASSERT_LE(config::macroAreaSizes(macros).withoutNames, 8192u);
    ASSERT_GT(config::macroAreaSizes(macros).withNames, 8192u);
    const RunResult result = run("--device sim import '" + writeProfileFile("in.kbp", macros) + "'");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.err.find(kNamesLeftOut), std::string::npos) << result.err;
    const auto area = keyboardMemory().macroArea;
    const Bytes expected = config::buildMacroArea(macros, false);
    EXPECT_EQ(Bytes(area.begin(), area.begin() + static_cast<std::ptrdiff_t>(expected.size())), expected);
}

TEST_F(QuillmarctlConfigurationTest, MacrosTooLargeEvenWithoutNamesAreRefusedAndNothingIsSent) {
    ASSERT_EQ(run("--device sim remap A key:B").exitCode, 0);
    const sim::SimMemory before = keyboardMemory();
    const config::MacroList macros = {macroWithActions(u"big", 1, 2000), macroWithActions(u"bigger", 2, 2000)};
    const RunResult result = run("--device sim import '" + writeProfileFile("in.kbp", macros) + "'");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("The macros do not fit in the keyboard's memory."), std::string::npos) << result.err;
    EXPECT_TRUE(keyboardMemory() == before);
}

TEST_F(QuillmarctlConfigurationTest, ARefusedImportLeavesKeyboardAndFilesAsTheyWere) {
    ASSERT_EQ(run("--device sim remap A key:B").exitCode, 0);
    const sim::SimMemory keyboardBefore = keyboardMemory();
    const std::string profileBefore = [&] {
        std::ifstream in(profileFile(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }();
    ASSERT_EQ(profileBefore.size(), profiles::kAssignmentBlockSize);

    const std::string good = writeProfileFile("good.kbp", {macroOf(u"m", 1, 1, {press(0x1E)})});
    std::string bytes;
    {
        std::ifstream in(good, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    const auto variant = [&](const std::string& name, std::size_t at, char value) {
        std::string changed = bytes;
        changed[at] = value;
        std::ofstream(folder_ / name, std::ios::binary) << changed;
        return (folder_ / name).string();
    };
    struct Case {
        std::string file;
        int exitCode;
        std::string err;
    };
    const std::string refused = "The file has a wrong format; nothing was imported.\n";
    const std::string badKeyFile = variant("key.kbp", 64 + 16 * 30, 9);
    const Case cases[] = {
        {variant("checksum.kbp", 31, static_cast<char>(bytes[31] + 1)), 3,
         "The file has a wrong format; nothing was imported: " + (folder_ / "checksum.kbp").string() + "\n" + refused},
        {variant("macros.kbp", 14, 101), 3,
         "The file has a wrong format; nothing was imported: " + (folder_ / "macros.kbp").string() + "\n" + refused},
        {badKeyFile, 3, "Key assignment 31 has an unknown type; nothing was imported: " + badKeyFile + "\n" + refused},
        {(folder_ / "missing.kbp").string(), 1,
         "quillmarctl: cannot read " + (folder_ / "missing.kbp").string() + ": No such file or directory\n"},
        {folder_.string(), 1, "quillmarctl: cannot read " + folder_.string() + ": Is a directory\n"},
    };
    for (const Case& c : cases) {
        const RunResult result = run("--device sim import '" + c.file + "'");
        EXPECT_EQ(result.exitCode, c.exitCode) << c.file;
        EXPECT_EQ(result.err, c.err);
        EXPECT_TRUE(keyboardMemory() == keyboardBefore) << c.file;
        std::ifstream in(profileFile(), std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), profileBefore) << c.file;
    }
}

TEST_F(QuillmarctlConfigurationTest, TheDefaultFileImportsAsTheFactoryConfiguration) {
    ASSERT_EQ(run("--device sim remap --profile 2 A disabled").exitCode, 0);
    const auto file = folder_ / "default.kbp";
    ASSERT_EQ(run("--device sim default '" + file.string() + "'").exitCode, 0);
    EXPECT_EQ(std::filesystem::file_size(file), profiles::kAssignmentBlockSize);
    ASSERT_EQ(run("--device sim import '" + file.string() + "'").exitCode, 0);
    const auto blocks = keyboardMemory().keyBlocks;
    for (int profile = 0; profile < 3; ++profile)
        EXPECT_TRUE(std::equal(keyboard::kBuiltInDefaultKeyTable.begin(), keyboard::kBuiltInDefaultKeyTable.end(),
                               blocks.begin() + profile * 378))
            << profile;
}

TEST_F(QuillmarctlConfigurationTest, AKeyboardWithoutMacroMagicGivesAConfigurationWithoutMacros) {
    sim::SimMemory memory = sim::factorySimMemory();
    const Bytes area = config::buildMacroArea({macroOf(u"m", 1, 1, {press(0x1E)})}, true);
    std::copy(area.begin(), area.end(), memory.macroArea.begin());
    memory.macroArea[0] = 0x00;
    ASSERT_TRUE(sim::saveSimState(folder_ / "sim.bin", memory));

    const auto file = folder_ / "out.kbp";
    ASSERT_EQ(run("--device sim export '" + file.string() + "'").exitCode, 0);
    EXPECT_EQ(loadFile(file)->macroCount(), 0);
    EXPECT_EQ(run("--device sim remap A macro:1").exitCode, 2) << "no macro to play";
}

TEST_F(QuillmarctlConfigurationTest, LightingBytesLandInTheProfilesRecord) {
    const sim::SimMemory factory = sim::factorySimMemory();
    for (int profile = 0; profile < 3; ++profile) {
        const std::string option = " --profile " + std::to_string(profile + 1);
        const RunResult set = run("--device sim lighting" + option +
                                  " effect=3 brightness=2 speed=1 direction=255 colour=102030 fixed=2");
        ASSERT_EQ(set.exitCode, 0) << set.err;
        EXPECT_EQ(set.out, "");
        ASSERT_EQ(run("--device sim rate" + option + " " + std::to_string(profile + 1)).out,
                  "polling rate: " + std::to_string(profile + 1) + " (" + kRatesHz[profile + 1] + " Hz)\n");

        Bytes expected(factory.settings.begin() + profile * 42, factory.settings.begin() + (profile + 1) * 42);
        expected[0] = 3;
        expected[1] = 2;
        expected[2] = 1;
        expected[3] = 255;
        expected[4] = 0;  // a colour turns multicolour off
        expected[5] = 0x10;
        expected[6] = 0x20;
        expected[7] = 0x30;
        expected[15] = static_cast<std::uint8_t>(profile + 1);
        expected[17] = 2;
        EXPECT_EQ(settingsOnKeyboard(profile), expected) << profile;
        for (int other = profile + 1; other < 3; ++other)
            EXPECT_EQ(settingsOnKeyboard(other),
                      Bytes(factory.settings.begin() + other * 42, factory.settings.begin() + (other + 1) * 42));

        const RunResult shown = run("--device sim lighting" + option);
        const std::string record = "effect: 3\nbrightness: 2\nspeed: 1\ndirection: 255\nmulticolour: 0\ncolour: 102030\n"
                                   "pollingRate: " + std::to_string(profile + 1) + "\nfixedColour: 2\n";
        EXPECT_EQ(shown.out.substr(0, record.size()), record)
            << shown.out;
    }
    ASSERT_EQ(run("--device sim lighting --profile 2 multicolour=1").exitCode, 0);
    EXPECT_EQ(settingsOnKeyboard(1)[4], 1);
    EXPECT_EQ(run("--device sim rate --profile 1").out, "polling rate: 1 (250 Hz)\n");
}

TEST_F(QuillmarctlConfigurationTest, KeyColoursLandAtTheKeysPositionsAndInTheScheme) {
    const auto colourFile = [this](int profile) {
        return folder_ / "docs" / "Gaming Keyboard" / ("UserDengColor_" + std::to_string(profile) + ".userd");
    };
    const auto coloursOf = [this](int profile, int position) {
        const auto colours = keyboardMemory().keyColours;
        const auto at = colours.begin() + profile * 512 + position * 3;
        return Bytes(at, at + 3);
    };
    const RunResult listed = run("--device sim scheme --profile 2");
    ASSERT_EQ(listed.exitCode, 0) << listed.err;
    EXPECT_EQ(listed.out.substr(0, listed.out.find('\n') + 1), "1*: Arctic\n");
    EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), 10);

    const RunResult painted = run("--device sim keycolour --profile 2 A 0A141E");
    ASSERT_EQ(painted.exitCode, 0) << painted.err;
    EXPECT_EQ(painted.err,
              "quillmarctl: the keyboard shows per-key colours in effect 20; select it with: quillmarctl lighting "
              "--profile 2 effect=20\n");
    EXPECT_EQ(coloursOf(1, 64), (Bytes{10, 20, 30}));
    EXPECT_EQ(text::readIniString(colourFile(1), "Mode0", "64", ""), "10,20,30,0");

    ASSERT_EQ(run("--device sim lighting --profile 2 effect=20").exitCode, 0);
    const RunResult erased = run("--device sim keycolour --profile 2 --erase fn");
    ASSERT_EQ(erased.exitCode, 0) << erased.err;
    EXPECT_EQ(erased.err, "");
    const RunResult based = run("--device sim basecolour --profile 2 010203");
    ASSERT_EQ(based.exitCode, 0) << based.err;
    EXPECT_EQ(coloursOf(1, 110), (Bytes{1, 2, 3})) << "the erased Fn key follows the base colour";
    EXPECT_EQ(coloursOf(1, 64), (Bytes{10, 20, 30})) << "the brushed key keeps its colour";
    EXPECT_EQ(text::readIniString(colourFile(1), "Mode0", "110", ""), "1,2,3,1");
    EXPECT_EQ(coloursOf(0, 64), Bytes(3, 0)) << "other profiles untouched";

    ASSERT_EQ(run("--device sim scheme --profile 2 4").exitCode, 0);
    EXPECT_EQ(text::readIniString(colourFile(1), "PRESENTMODE", "mode", ""), "3");
    EXPECT_NE(run("--device sim scheme --profile 2").out.find("4*: "), std::string::npos);

    for (const char* bad : {"keycolour A", "keycolour Nokey 102030", "keycolour A 10203", "keycolour --erase",
                            "basecolour", "basecolour red", "scheme 0", "scheme 11", "scheme 1 2"})
        EXPECT_EQ(run(std::string("--device sim ") + bad).exitCode, 2) << bad;
}

// The per-user folder cannot be written (a file stands where it should be,
// which stops root too): commands that only look need no file, the others
// act on the keyboard and warn.
TEST_F(QuillmarctlConfigurationTest, AnUnwritableFolderOnlyCostsTheProfileFile) {
    std::filesystem::create_directories(folder_ / "docs");
    std::ofstream(folder_ / "docs" / "Gaming Keyboard") << "not a folder";
    for (const char* looking : {"info", "profile", "rate", "lighting"}) {
        const RunResult result = run(std::string("--device sim ") + looking);
        EXPECT_EQ(result.exitCode, 0) << looking << ": " << result.err;
        EXPECT_EQ(result.err, "") << looking;
    }
    const RunResult remap = run("--device sim remap F1 media:3");
    EXPECT_EQ(remap.exitCode, 0) << remap.err;
    EXPECT_NE(remap.err.find("warning: could not write"), std::string::npos) << remap.err;
    EXPECT_NE(entryOnKeyboard(0, kPositionOfF1), defaultEntry(kPositionOfF1));
}

// The commands of a trace file from the first BeginUpdate on: the download
// after the read-back.
std::vector<int> downloadCommandsIn(const std::filesystem::path& trace) {
    std::vector<int> commands;
    std::ifstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("> ", 0) != 0 || line.size() < 13) continue;
        const int command = std::stoi(line.substr(11, 2), nullptr, 16);
        if (command == 1 || !commands.empty()) commands.push_back(command);
    }
    return commands;
}

TEST_F(QuillmarctlConfigurationTest, ARemapWritesOnlyItsPieceUnlessTheSettingsSayOtherwise) {
    const auto trace = folder_ / "trace";
    const std::string traced = "QUILLMAR_SIM_TRACE='" + trace.string() + "'";
    RunResult result = run("--device sim remap A key:B", traced);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(downloadCommandsIn(trace), (std::vector<int>{1, 10, 8, 2, 9, 7}))
        << "the factory's empty macro area is not the one this program writes";

    std::filesystem::remove(trace);
    result = run("--device sim remap A key:D", traced);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(downloadCommandsIn(trace), (std::vector<int>{1, 8, 2, 7}));

    std::filesystem::remove(trace);
    const auto settings = folder_ / "config" / "Quillmar_Orlenta.ini";
    std::filesystem::create_directories(settings.parent_path());
    std::ofstream(settings) << "[PROFILES]\nVerifyWrites=0\nWriteChangesOnly=0\n";
    result = run("--device sim remap A key:C", traced);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(downloadCommandsIn(trace), (std::vector<int>{1, 10, 8, 8, 8, 8, 8, 8, 8, 2}));
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfA), Bytes({0x02, 0x02, 0x06}));
}

TEST_F(QuillmarctlConfigurationTest, WritesTheKeyboardKeptOtherwiseAreNamedAndExitWithOne) {
    const std::string corrupt = "QUILLMAR_SIM_CORRUPT_WRITES=1";
    ASSERT_EQ(run("--device sim remap F1 key:B").exitCode, 0);  // the macro area as this program writes it
    RunResult result = run("--device sim remap A key:B", corrupt);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err,
              "The keys the keyboard holds for Profile 1 differ from what was written to it.\n"
              "quillmarctl: the keyboard did not take the download\n");

    const std::string file = writeProfileFile("in.kbp", {macroOf(u"m", 1, 1, {press(0x1E, 10)})});
    result = run("--device sim import '" + file + "'", corrupt);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("The macros the keyboard holds differ from what was written to it.\n"), std::string::npos)
        << result.err;

    result = run("--device sim remap A key:B");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(entryOnKeyboard(0, kPositionOfA), Bytes({0x02, 0x02, 0x05}));
}

TEST_F(QuillmarctlConfigurationTest, UnpluggedInTheMiddleOfAnImport) {
    const auto fifo = folder_ / "control";
    const auto trace = folder_ / "trace";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const config::MacroList macros = {macroWithActions(u"big", 1, 2000)};  // about 140 pieces
    const std::string file = writeProfileFile("in.kbp", macros);
    const sim::SimMemory before = keyboardMemory();

    RunResult result;
    std::thread tool([&] {
        result = run("--device sim import '" + file + "'",
                     "QUILLMAR_SIM_CONTROL='" + fifo.string() + "' QUILLMAR_SIM_TRACE='" + trace.string() + "'");
    });
    // Unplug once the keyboard has taken 20 pieces of the macro area.
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    bool unplugged = false;
    while (!unplugged && std::chrono::steady_clock::now() < deadline) {
        std::ifstream lines(trace);
        int pieces = 0;
        for (std::string line; std::getline(lines, line);)
            if (line.rfind("> ", 0) == 0 && line.size() > 13 && line.substr(11, 2) == "0A") ++pieces;
        if (pieces >= 20) {
            const int control = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            unplugged = control >= 0 && ::write(control, "unplug\n", 7) == 7;
            if (control >= 0) ::close(control);
        }
        std::this_thread::sleep_for(1ms);
    }
    tool.join();
    ASSERT_TRUE(unplugged);
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_NE(result.err.find("the keyboard did not take the download"), std::string::npos) << result.err;
    EXPECT_EQ(keyboardMemory().keyBlocks, before.keyBlocks);
}

}  // namespace
}  // namespace quillmar
