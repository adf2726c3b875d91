#include "text/IniDocument.h"

#include "text/IniFile.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace quillmar::text {
namespace {

using testing::readBytes;
using testing::TempFolder;
using testing::writeBytes;

// Many edits in memory reach the file in one write, with the reading and
// writing rules of the single-value functions.
TEST(IniDocument, EditsReachTheFileOnlyWhenSavedAndKeepEveryOtherLine) {
    TempFolder folder;
    const auto file = folder.path() / "scheme.userd";
    writeBytes(file, "; kept\r\n[Mode0]\r\n64=255,0,0,1\r\nTOOL=1\r\n");
    auto document = IniDocument::load(file);
    ASSERT_TRUE(document);
    for (int position = 0; position < 3; ++position) EXPECT_TRUE(document->write("mode0", std::to_string(position), "1,2,3,1"));
    EXPECT_TRUE(document->writeNumber("Mode0", "tool", 0));
    EXPECT_TRUE(document->write("PRESENTMODE", "mode", "4"));
    EXPECT_FALSE(document->write("Mode0", "bad", "line\nbreak"));
    EXPECT_EQ(document->read("MODE0", "1", "x"), "1,2,3,1");
    EXPECT_EQ(document->readNumber("Mode0", "tool", 9), 0);
    EXPECT_EQ(readIniString(file, "Mode0", "1", "missing"), "missing") << "nothing written before save";

    ASSERT_TRUE(document->save());
    EXPECT_EQ(readBytes(file),
              "; kept\r\n[Mode0]\r\n64=255,0,0,1\r\nTOOL=0\r\n0=1,2,3,1\r\n1=1,2,3,1\r\n2=1,2,3,1\r\n\r\n"
              "[PRESENTMODE]\r\nmode=4\r\n");
}

TEST(IniDocument, AMissingFileIsEmptyAndAnUnreadableOneIsNotLoaded) {
    TempFolder folder;
    auto missing = IniDocument::load(folder.path() / "new.ini");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->read("A", "b", "default"), "default");
    EXPECT_FALSE(IniDocument::load(folder.path()));  // a folder, not a file
    missing->write("A", "b", "c");
    std::filesystem::remove_all(folder.path());
    EXPECT_FALSE(missing->save()) << "the folder is gone";
}

}  // namespace
}  // namespace quillmar::text
