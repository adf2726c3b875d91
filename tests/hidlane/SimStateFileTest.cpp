// The simulated keyboard's factory memory and its state file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <cstdlib>
#include <functional>
#include <optional>
#include <random>

#include "hidlane/sim/SimStateFile.h"
#include "keyboard/DefaultKeyTable.h"

namespace quillmar::sim {
namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kFactoryStateBytes = 8 + 44 + 126 + 1134 + 378 + 1536 + 64 * 128;

TEST(SimMemoryTest, FactoryMemoryIsTheDocumentedDefault) {
    const SimMemory memory = factorySimMemory();
    const Bytes info(memory.deviceInfo.begin(), memory.deviceInfo.end());
    Bytes expectedInfo(44, 0);
    expectedInfo[11] = 64;
    const Bytes effects = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};
    std::ranges::copy(effects, expectedInfo.begin() + 12);
    EXPECT_EQ(info, expectedInfo);

    const Bytes record = {0x01, 0x04, 0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x08, 0xFF, 0xFF, 0xFF,
                          0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0x00,
                          0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0, 0, 0, 0, 0, 0, 0};
    const auto& table = keyboard::kBuiltInDefaultKeyTable;
    for (std::size_t profile = 0; profile < kProfileCount; ++profile) {
        EXPECT_TRUE(std::equal(record.begin(), record.end(), memory.settings.begin() + profile * 42));
        EXPECT_TRUE(std::equal(table.begin(), table.end(), memory.keyBlocks.begin() + profile * 378));
    }
    EXPECT_EQ(memory.defaultLayout, table);
    EXPECT_TRUE(std::ranges::all_of(memory.keyColours, [](auto b) { return b == 0; }));
    ASSERT_EQ(memory.macroArea.size(), 8192u);
    EXPECT_EQ(Bytes(memory.macroArea.begin(), memory.macroArea.begin() + 4), (Bytes{0xAA, 0x55, 0x10, 0x00}));
    EXPECT_TRUE(std::all_of(memory.macroArea.begin() + 4, memory.macroArea.end(), [](auto b) { return b == 0; }));
}

SimMemory changedMemory() {
    SimMemory memory = factorySimMemory();
    memory.deviceInfo[kActiveProfileByte] = 2;
    memory.settings[125] = 0x42;
    memory.keyBlocks[0] = 0x09;
    memory.keyColours[1535] = 0x77;
    memory.macroArea[8191] = 0x5A;
    return memory;
}

TEST(SimStateFileTest, StateSerializesAndParsesBackUnchanged) {
    const SimMemory memory = changedMemory();
    const Bytes bytes = serializeSimState(memory);
    ASSERT_EQ(bytes.size(), kFactoryStateBytes);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 8), (Bytes{'Q', 'S', 'I', 'M', 1, 0, 0, 0}));
    EXPECT_EQ(bytes[8 + 10], 2) << "device info comes first";
    EXPECT_EQ(bytes.back(), 0x5A) << "the macro area comes last";
    const auto parsed = parseSimState(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(*parsed == memory);
}

TEST(SimStateFileTest, DamagedStatesAreNotParsed) {
    const Bytes good = serializeSimState(factorySimMemory());
    const std::pair<const char*, std::function<void(Bytes&)>> damages[] = {
        {"empty", [](Bytes& b) { b.clear(); }},
        {"header only", [](Bytes& b) { b.resize(8); }},
        {"one byte short", [](Bytes& b) { b.pop_back(); }},
        {"one byte long", [](Bytes& b) { b.push_back(0); }},
        {"wrong magic", [](Bytes& b) { b[0] = 'X'; }},
        {"version 2", [](Bytes& b) { b[4] = 2; }},
        {"version with a high byte", [](Bytes& b) { b[7] = 1; }},
        {"macro memory size that does not fit the length", [](Bytes& b) { b[8 + 11] = 65; }},
        {"no macro memory but macro bytes", [](Bytes& b) { b[8 + 11] = 0; }},
    };
    for (const auto& [what, damage] : damages) {
        Bytes bytes = good;
        damage(bytes);
        EXPECT_FALSE(parseSimState(bytes)) << what;
    }
}

TEST(SimStateFileTest, AKeyboardWithoutMacroMemoryIsAValidState) {
    SimMemory memory = factorySimMemory();
    memory.deviceInfo[kMacroUnitsByte] = 0;
    memory.fitMacroAreaToDeviceInfo();
    const auto parsed = parseSimState(serializeSimState(memory));
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->macroArea.empty());
}

TEST(SimStateFileTest, ThePathComesFromTheEnvironment) {
    struct Case {
        const char* state;
        const char* xdgStateHome;
        const char* home;
        const char* expected;
    };
    const Case cases[] = {
        {"/tmp/explicit.bin", "/x", "/h", "/tmp/explicit.bin"},
        {nullptr, "/x", "/h", "/x/quillmar/sim-keyboard.bin"},
        {"", "", "/h", "/h/.local/state/quillmar/sim-keyboard.bin"},
        {nullptr, nullptr, nullptr, ""},
    };
    const char* names[] = {"QUILLMAR_SIM_STATE", "XDG_STATE_HOME", "HOME"};
    std::vector<std::optional<std::string>> saved;
    for (const char* name : names) {
        const char* value = std::getenv(name);
        saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    const auto set = [](const char* name, const char* value) {
        if (value) ::setenv(name, value, 1);
        else ::unsetenv(name);
    };
    for (const auto& c : cases) {
        set(names[0], c.state);
        set(names[1], c.xdgStateHome);
        set(names[2], c.home);
        EXPECT_EQ(simStatePath(), std::filesystem::path(c.expected));
    }
    for (std::size_t i = 0; i < saved.size(); ++i) set(names[i], saved[i] ? saved[i]->c_str() : nullptr);
}

class SimStateFileOnDiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() / ("quillmar-state-test-" + std::to_string(std::random_device{}()));
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::filesystem::path folder_;
};

TEST_F(SimStateFileOnDiskTest, SaveCreatesTheFolderAndLeavesOnlyTheFile) {
    const auto path = folder_ / "deep" / "er" / "sim-keyboard.bin";
    ASSERT_TRUE(saveSimState(path, changedMemory()));
    ASSERT_TRUE(saveSimState(path, changedMemory())) << "replaces an existing file";
    const auto loaded = loadSimState(path);
    ASSERT_TRUE(loaded);
    EXPECT_TRUE(*loaded == changedMemory());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()), {}), 1);
}

TEST_F(SimStateFileOnDiskTest, MissingUnreadableOrDamagedFilesLoadNothing) {
    std::filesystem::create_directories(folder_);
    EXPECT_FALSE(loadSimState(folder_ / "missing.bin"));
    EXPECT_FALSE(loadSimState(folder_)) << "a folder";
    EXPECT_FALSE(loadSimState({}));
    std::ofstream(folder_ / "garbage.bin") << "QSIM and then some garbage";
    EXPECT_FALSE(loadSimState(folder_ / "garbage.bin"));
    EXPECT_FALSE(saveSimState(folder_ / "garbage.bin" / "below-a-file.bin", factorySimMemory()));
}

}  // namespace
}  // namespace quillmar::sim
