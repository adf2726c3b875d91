#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <set>

#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"
#include "profiles/ProfileFileFixtures.h"

namespace quillmar::profiles {
namespace {

using config::ConfigStore;
using keyboard::AssignmentType;
using testing::TempFolder;

std::uint32_t u32At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    std::uint32_t value = 0;
    std::memcpy(&value, &bytes[offset], 4);
    return value;
}

void setU32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
    std::memcpy(&bytes[offset], &value, 4);
}

std::size_t recordOffset(int recordIndex) { return 64 + std::size_t(recordIndex) * 16; }

TEST(WriteConfigurationFile, PlacesEachTextAtTheOffsetItsRecordHoldsAndLoadsItBack) {
    TempFolder folder;
    ConfigStore store;
    installDefaultConfiguration(store);
    store.records()[7] = {AssignmentType::TextBlock, 0, 0, 0, 0};
    store.records()[600] = {AssignmentType::LaunchProgram, 0, 0, 0, 0};
    store.texts().setText(7, u"abc");
    store.texts().setText(600, u"/opt/game1");  // 10 characters
    const auto path = folder / "texts.kbp";
    ASSERT_EQ(writeConfigurationFile(store, path), 1);

    const std::vector<std::uint8_t> bytes = testing::readBytes(path);
    ASSERT_EQ(bytes.size(), 32832u + 8 + 22);
    EXPECT_EQ(u32At(bytes, 8), 32832u + 30);  // total size
    EXPECT_EQ(u32At(bytes, 16), 30u);         // text area size
    EXPECT_EQ(u32At(bytes, recordOffset(7) + 4), 0u);
    const std::uint32_t offset = u32At(bytes, recordOffset(600) + 4);
    EXPECT_EQ(offset, 8u);
    std::u16string stored(11, u'?');
    std::memcpy(stored.data(), &bytes[32832 + offset], 22);
    EXPECT_EQ(stored, std::u16string(u"/opt/game1\0", 11));

    ConfigStore loaded;
    ASSERT_EQ(loadConfigurationFile(loaded, path), 1);
    EXPECT_EQ(loaded.texts().text(600), std::u16string_view(u"/opt/game1"));
    EXPECT_EQ(loaded.texts().sizeInBytes(600), 22u);
    EXPECT_EQ(loaded.texts().text(7), std::u16string_view(u"abc"));
    EXPECT_EQ(loaded.texts().totalBytes(), 30u);
}

TEST(WriteConfigurationFile, ATextRecordWithoutTextLoadsEmptyInsteadOfAnothersText) {
    TempFolder folder;
    ConfigStore store;
    installDefaultConfiguration(store);
    store.records()[3] = {AssignmentType::LaunchProgram, 0, 0, 0, 0};
    store.records()[9] = {AssignmentType::LaunchProgram, 0, 0, 0, 0};
    store.texts().setText(9, u"/bin/x");
    const auto path = folder / "texts.kbp";
    ASSERT_EQ(writeConfigurationFile(store, path), 1);

    ConfigStore loaded;
    ASSERT_EQ(loadConfigurationFile(loaded, path), 1);
    EXPECT_EQ(loaded.texts().text(3), std::u16string_view(u""));
    EXPECT_EQ(loaded.texts().text(9), std::u16string_view(u"/bin/x"));
}

// A sample configuration as a file, with the positions a damage needs.
struct SampleFile {
    std::vector<std::uint8_t> bytes;
    std::size_t textArea = 0;  // offset of the text area
};

SampleFile sampleFile(const TempFolder& folder) {
    ConfigStore store;
    testing::fillSampleConfiguration(store);
    const auto path = folder / "sample.kbp";
    EXPECT_EQ(writeConfigurationFile(store, path), 1);
    return {testing::readBytes(path), 32832 + 2 * 16512};
}

struct LoadCase {
    const char* name;
    std::function<void(SampleFile&)> damage;
    std::function<void(const ConfigStore&)> expect;
};

TEST(LoadConfigurationFile, ReadsDamagedFilesOnlyAsFarAsTheyGo) {
    // Sample texts: record 40 "hello" at 0, record 1500 "/usr/bin/game" at 12.
    const LoadCase cases[] = {
        {"cut inside the assignment records",
         [](SampleFile& f) { f.bytes.resize(recordOffset(100)); },
         [](const ConfigStore& s) {
             EXPECT_EQ(s.records()[0x1E].value, 0x02Au);
             EXPECT_EQ(s.records()[512 + 0x20].type, AssignmentType::Default);
             EXPECT_EQ(s.macroCount(), 0);
             EXPECT_EQ(s.texts().text(40), std::u16string_view(u""));
         }},
        {"cut inside the second macro",
         [](SampleFile& f) { f.bytes.resize(32832 + 16512 + 512 + 4); },
         [](const ConfigStore& s) {
             ASSERT_EQ(s.macroCount(), 2);
             EXPECT_EQ(config::macroName(s.macros()[1]), u"Dash");
             EXPECT_EQ(s.macros()[1].actions[0].delayMs, 10u);
             EXPECT_EQ(s.macros()[1].actions[0].keyCode, 0);  // beyond the end
             EXPECT_EQ(s.texts().totalBytes(), 4u);            // both texts empty
         }},
        {"cut inside a text",
         [](SampleFile& f) { f.bytes.resize(f.textArea + 12 + 8); },
         [](const ConfigStore& s) {
             EXPECT_EQ(s.texts().text(40), std::u16string_view(u"hello"));
             EXPECT_EQ(s.texts().text(1500), std::u16string_view(u"/usr"));
         }},
        {"last text without terminator",
         [](SampleFile& f) {
             f.bytes.erase(f.bytes.end() - 2, f.bytes.end());
             setU32(f.bytes, 16, 12 + 26);
         },
         [](const ConfigStore& s) { EXPECT_EQ(s.texts().text(1500), std::u16string_view(u"/usr/bin/game")); }},
        {"text offset outside the area",
         [](SampleFile& f) { setU32(f.bytes, recordOffset(1500) + 4, 40); },
         [](const ConfigStore& s) {
             EXPECT_EQ(s.texts().text(1500), std::u16string_view(u""));
             EXPECT_EQ(s.texts().text(40), std::u16string_view(u"hello"));
         }},
        {"odd text offset",
         [](SampleFile& f) { f.bytes[recordOffset(1500) + 4] = 13; },
         [](const ConfigStore& s) { EXPECT_EQ(s.texts().text(1500), std::u16string_view(u"/usr/bin/game")); }},
        {"macro count far beyond what the file holds",
         [](SampleFile& f) { f.bytes[14] = 0xFF, f.bytes[15] = 0xFF; },
         [](const ConfigStore& s) {
             EXPECT_EQ(s.macroCount(), 3);  // two macros and the start of the text area
             EXPECT_EQ(s.texts().totalBytes(), 4u);
         }},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        SampleFile file = sampleFile(folder);
        c.damage(file);
        const auto path = folder / "damaged.kbp";
        testing::writeBytes(path, file.bytes);

        ConfigStore store;
        ASSERT_EQ(loadConfigurationFile(store, path), 1);
        auto held = store.lock();
        c.expect(store);
    }
}

TEST(LoadConfigurationFile, TakesAtMostAHundredMacrosWithUniqueIdsAndTidyLimits) {
    TempFolder folder;
    std::vector<std::uint8_t> bytes(32832 + 120 * 16512, 0);
    const HeaderBytes header = encodeHeader(120, 0);
    std::copy(header.begin(), header.end(), bytes.begin());
    for (int n = 0; n < 120; ++n) {
        config::MacroRecord macro = testing::sampleMacro(n < 3 ? 7 : static_cast<std::uint16_t>(n + 50), u"M", 1);
        macro.actionCount = 5000;
        macro.unsaved = 1;
        std::memcpy(&bytes[32832 + std::size_t(n) * 16512], &macro, sizeof macro);
    }
    const auto path = folder / "many.kbp";
    testing::writeBytes(path, bytes);

    ConfigStore store;
    ASSERT_EQ(loadConfigurationFile(store, path), 1);
    auto held = store.lock();
    ASSERT_EQ(store.macroCount(), 100);
    // The first id 7 stays; its duplicates and the ids above 100 get the free ones.
    EXPECT_EQ(store.macros()[0].id, 7);
    EXPECT_EQ(store.macros()[1].id, 1);
    EXPECT_EQ(store.macros()[2].id, 2);
    std::set<std::uint16_t> ids;
    for (const config::MacroRecord& macro : store.macros()) {
        ids.insert(macro.id);
        EXPECT_EQ(macro.actionCount, 2000);
        EXPECT_EQ(macro.unsaved, 0);
    }
    EXPECT_EQ(ids.size(), 100u);
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), 100);
}

TEST(LoadConfigurationFile, LeavesTheConfigurationAloneWhenThereIsNoHeader) {
    TempFolder folder;
    ConfigStore store;
    testing::fillSampleConfiguration(store);
    testing::writeBytes(folder / "stub.kbp", {0x46, 0x44, 0x20});
    EXPECT_EQ(loadConfigurationFile(store, folder / "stub.kbp"), 0);
    EXPECT_EQ(loadConfigurationFile(store, folder / "missing.kbp"), 0);
    EXPECT_EQ(store.macroCount(), 2);
    EXPECT_EQ(store.texts().text(40), std::u16string_view(u"hello"));
}

TEST(InstallDefaultConfiguration, DropsMacrosAndTexts) {
    ConfigStore store;
    testing::fillSampleConfiguration(store);
    store.records()[0x1E] = {AssignmentType::Key, 0, 0x02A, 1, 0};
    installDefaultConfiguration(store);
    EXPECT_EQ(store.macroCount(), 0);
    EXPECT_EQ(store.texts().totalBytes(), 0u);
    const config::AssignmentBlock defaults = defaultAssignmentBlock();
    EXPECT_EQ(std::memcmp(&store.assignments(), &defaults, sizeof defaults), 0);
}

TEST(SaveProfileFile, OnlyReplacesAProfileFileThatExists) {
    TempFolder folder;
    ConfigStore store;
    testing::fillSampleConfiguration(store);
    const auto profile = folder / "$Profile0";
    EXPECT_EQ(saveProfileFile(store, profile), 0);
    EXPECT_FALSE(std::filesystem::exists(profile));

    ASSERT_EQ(writeDefaultFile(profile), 1);
    EXPECT_EQ(saveProfileFile(store, profile), 1);
    EXPECT_EQ(testing::readBytes(profile).size(), 32832u + 2 * 16512 + 40);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"$Profile0"});
}

TEST(WriteConfigurationFile, AFailedWriteLeavesNoTemporaryFileBehind) {
    TempFolder folder;
    ConfigStore store;
    testing::fillSampleConfiguration(store);
    std::filesystem::create_directory(folder / "taken");  // cannot be replaced by a file
    EXPECT_EQ(writeConfigurationFile(store, folder / "taken"), 0);
    EXPECT_EQ(writeConfigurationFile(store, folder / "no-such-folder" / "x.kbp"), 0);
    EXPECT_EQ(writeDefaultFile(folder / "no-such-folder" / "x.kbp"), 0);
    EXPECT_EQ(folder.entries(), std::vector<std::string>{"taken"});
}

}  // namespace
}  // namespace quillmar::profiles
