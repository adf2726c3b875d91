#include <gtest/gtest.h>

#include <cstring>

#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFixtures.h"
#include "profiles/ProfileFileTransfer.h"

namespace quillmar::profiles {
namespace {

using config::ConfigStore;
using testing::RecordingPrompt;
using testing::TempFolder;

const std::u16string kImportFailed = u"File format error, import failed! ";

void expectSameConfiguration(const ConfigStore& actual, const ConfigStore& expected) {
    auto heldActual = actual.lock();
    auto heldExpected = expected.lock();
    EXPECT_EQ(std::memcmp(&actual.assignments(), &expected.assignments(), sizeof(config::AssignmentBlock)), 0);
    ASSERT_EQ(actual.macroCount(), expected.macroCount());
    for (std::size_t n = 0; n < actual.macros().size(); ++n) {
        EXPECT_EQ(std::memcmp(&actual.macros()[n], &expected.macros()[n], sizeof(config::MacroRecord)), 0)
            << "macro " << n;
    }
    for (int index = 0; index < config::kAssignmentRecordCount; ++index) {
        EXPECT_EQ(actual.texts().text(index), expected.texts().text(index)) << "text " << index;
    }
}

class ImportExport : public ::testing::Test {
protected:
    ImportExport() {
        testing::fillSampleConfiguration(working);
        EXPECT_EQ(writeDefaultFile(profileFile), 1);
    }

    ImportResult import(ConfigStore& into, const std::filesystem::path& path) {
        return importConfigurationFile(into, path, profileFile, prompt, text::BuiltInTexts{});
    }

    TempFolder folder;
    std::filesystem::path profileFile = folder / "$Profile0";
    ConfigStore working;
    RecordingPrompt prompt;
};

TEST_F(ImportExport, ExportThenImportGivesBackTheWorkingConfigurationAndRewritesTheProfileFile) {
    const auto exported = folder / "mine.kbp";
    ASSERT_EQ(exportConfiguration(working, exported), 1);

    ConfigStore other;
    installDefaultConfiguration(other);
    const ImportResult result = import(other, exported);
    EXPECT_EQ(result.status, ImportStatus::Imported);
    EXPECT_TRUE(result.profileFileSaved);
    EXPECT_TRUE(prompt.messages.empty());
    expectSameConfiguration(other, working);
    EXPECT_EQ(testing::readBytes(profileFile), testing::readBytes(exported));

    // Importing the file into the configuration it came from changes nothing.
    ASSERT_EQ(import(working, exported).status, ImportStatus::Imported);
    expectSameConfiguration(other, working);
}

TEST_F(ImportExport, ABadHeaderIsRefusedWithBothMessagesAndChangesNothing) {
    const auto damaged = folder / "damaged.kbp";
    ASSERT_EQ(exportConfiguration(working, damaged), 1);
    std::vector<std::uint8_t> bytes = testing::readBytes(damaged);
    ++bytes[31];
    testing::writeBytes(damaged, bytes);
    const std::vector<std::uint8_t> profileBefore = testing::readBytes(profileFile);

    ConfigStore untouched;
    testing::fillSampleConfiguration(untouched);
    ConfigStore target;
    testing::fillSampleConfiguration(target);
    EXPECT_EQ(import(target, damaged).status, ImportStatus::Refused);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0],
              u"wrong file format, revert to the default values: \n  " + damaged.u16string());
    EXPECT_EQ(prompt.messages[1], kImportFailed);
    expectSameConfiguration(target, untouched);
    EXPECT_EQ(testing::readBytes(profileFile), profileBefore);
}

TEST_F(ImportExport, AMissingFileIsRefusedWithTheImportMessageOnly) {
    EXPECT_EQ(import(working, folder / "gone.kbp").status, ImportStatus::Refused);
    EXPECT_EQ(prompt.messages, std::vector<std::u16string>{kImportFailed});
}

TEST_F(ImportExport, ImportWithoutAProfileFileStillImports) {
    const auto exported = folder / "mine.kbp";
    ASSERT_EQ(exportConfiguration(working, exported), 1);
    std::filesystem::remove(profileFile);
    ConfigStore other;
    const ImportResult result = import(other, exported);
    EXPECT_EQ(result.status, ImportStatus::Imported);
    EXPECT_FALSE(result.profileFileSaved);
    EXPECT_FALSE(std::filesystem::exists(profileFile));
}

}  // namespace
}  // namespace quillmar::profiles
