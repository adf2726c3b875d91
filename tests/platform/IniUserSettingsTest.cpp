#include "platform/IniUserSettings.h"

#include "platform/TempFolder.h"

#include <gtest/gtest.h>

namespace quillmar::platform {
namespace {

using testing::readBytes;
using testing::TempFolder;

TEST(IniUserSettings, KeepsValuesInTheConfigFolderFile) {
    TempFolder home;
    FakePaths paths;
    paths.config = home / "not-yet" / ".config";
    IniUserSettings settings(paths);

    EXPECT_EQ(settings.readNumber(kProfilesSection, kFlipValueName, 0), 0);
    ASSERT_TRUE(settings.writeNumber(kProfilesSection, kFlipValueName, 1));
    ASSERT_TRUE(settings.writeNumber(kProfilesSection, "RecordDelay", 1));

    EXPECT_EQ(readBytes(paths.config / "Quillmar_Orlenta.ini"),
              "[PROFILES]\nFlip=1\nRecordDelay=1\n");
    EXPECT_EQ(IniUserSettings(paths).readNumber("profiles", "flip", 0), 1);
}

TEST(IniUserSettings, BlankValueNameStillRoundTrips) {
    // The record-delay value is named by a language text, which is a single
    // space when the language file lacks it.
    TempFolder folder;
    IniUserSettings settings(folder / "settings.ini");
    ASSERT_TRUE(settings.writeNumber(kProfilesSection, " ", 1));
    EXPECT_EQ(settings.readNumber(kProfilesSection, " ", 0), 1);
    EXPECT_EQ(settings.readNumber(kProfilesSection, kFlipValueName, 0), 0);
}

}  // namespace
}  // namespace quillmar::platform
