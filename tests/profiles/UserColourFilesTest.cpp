#include "profiles/UserColourFiles.h"

#include "platform/TempFolder.h"
#include "profiles/KtvlSettings.h"

#include <gtest/gtest.h>

namespace quillmar::profiles {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

constexpr ColourValue kRed = 255;

class UserColourFilesTest : public ::testing::Test {
private:
    TempFolder temp_;  // first: the members below use it

protected:
    UserFolder folder{temp_.path()};
    UserColourFiles files{folder};
};

TEST_F(UserColourFilesTest, MissingFileReadsAsDefaults) {
    EXPECT_EQ(files.readPresentScheme(1), 0);
    EXPECT_EQ(files.readSchemeName(1, 4), u"0");
    EXPECT_EQ(files.readKeyColour(1, 4, 110), (KeyColour{kRed, true}));
    EXPECT_EQ(files.readSchemeSettings(1, 4), SchemeSettings{});
}

TEST_F(UserColourFilesTest, ReadsWhatTheFileSuppliesAndHoldsTheRest) {
    writeBytes(folder.colourFile(0),
               "[PRESENTMODE]\nmode=42\n"
               "[Mode3]\n5=12,34\n6=1,2,3,5\n7=300,-4,0,0\n"
               "tool=1\njcolor=10,20,30\ncolor=7\n");
    EXPECT_EQ(files.readPresentScheme(0), 0);                              // not a scheme
    EXPECT_EQ(files.readKeyColour(0, 3, 5), (KeyColour{12 | 34 << 8, false}));
    EXPECT_EQ(files.readKeyColour(0, 3, 6), (KeyColour{1 | 2 << 8 | 3 << 16, true}));
    EXPECT_EQ(files.readKeyColour(0, 3, 7), (KeyColour{255, false}));      // held to 0..255
    EXPECT_EQ(files.readSchemeSettings(0, 3), (SchemeSettings{1, 10 | 20 << 8 | 30 << 16, 7}));
}

TEST_F(UserColourFilesTest, WritesInTheStoredFormats) {
    writeBytes(folder.colourFile(2), "[MODENAME]\n0=Fire\n");
    ASSERT_TRUE(files.writePresentScheme(2, 7));
    ASSERT_TRUE(files.writeSchemeName(2, 7, u"Ocean 海"));
    ASSERT_TRUE(files.writeKeyColour(2, 7, 110, {10 | 20 << 8 | 30 << 16, false}));
    ASSERT_TRUE(files.writeSchemeSettings(2, 7, {1, 0x0000FF, 0xFF0000}));

    EXPECT_EQ(readBytes(folder.colourFile(2)),
              "[MODENAME]\n0=Fire\n7=Ocean 海\n\n[PRESENTMODE]\nmode=7\n\n"
              "[Mode7]\n110=10,20,30,0\ntool=1\njcolor=255,0,0\ncolor=0,0,255\n");
    EXPECT_EQ(files.readSchemeName(2, 7), u"Ocean 海");
    EXPECT_EQ(files.readPresentScheme(2), 7);
}

TEST_F(UserColourFilesTest, FileNumbersOutsideTheFourAreNeverTouched) {
    EXPECT_FALSE(files.writePresentScheme(4, 1));
    EXPECT_FALSE(files.writeKeyColour(-1, 0, 0, {}));
    EXPECT_EQ(files.readKeyColour(4, 0, 0), (KeyColour{kRed, true}));
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(UserFolder, EnsurePreparesColourFilesOnlyWhenCreatingTheFolder) {
    TempFolder documents;
    const UserFolder folder(documents / "missing-documents" / "Gaming Keyboard");
    int prepared = 0;
    EXPECT_TRUE(folder.ensureUserFolder([&] { ++prepared; }));
    EXPECT_TRUE(folder.ensureUserFolder([&] { ++prepared; }));
    EXPECT_EQ(prepared, 1);

    writeBytes(documents / "a-file", "");
    EXPECT_FALSE(UserFolder(documents / "a-file").ensureUserFolder([&] { ++prepared; }));
    EXPECT_EQ(prepared, 1);
}

TEST(KtvlSettings, OnlyTheNumberOneMeansYes) {
    TempFolder folder;
    const KtvlSettings settings(folder / "ktvl.ini");
    EXPECT_FALSE(settings.colourFilesPrepared());
    ASSERT_TRUE(settings.markColourFilesPrepared());
    ASSERT_TRUE(settings.setLightingPanelOpen(true));
    EXPECT_TRUE(settings.colourFilesPrepared());
    EXPECT_TRUE(settings.lightingPanelOpen());

    writeBytes(folder / "ktvl.ini", "[KEYCOLOR]\nusermodeCheck=2\nDengCheck=yes\n");
    EXPECT_FALSE(settings.colourFilesPrepared());
    EXPECT_FALSE(settings.lightingPanelOpen());
}

}  // namespace
}  // namespace quillmar::profiles
