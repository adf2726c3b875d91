#include "platform/ApplicationPaths.h"

#include "platform/LinuxPaths.h"
#include "platform/NamedEvents.h"

#include <gtest/gtest.h>

namespace quillmar::platform {
namespace {

TEST(ApplicationPaths, EverythingSitsBesideTheExecutable) {
    const ApplicationPaths paths = ApplicationPaths::fromExecutable("/opt/kb/Quillmar");
    EXPECT_EQ(paths.executableName, "Quillmar");
    EXPECT_EQ(paths.programDirectory, "/opt/kb");
    EXPECT_EQ(paths.helpDirectory / "index.html", "/opt/kb/Help/index.html");
    EXPECT_EQ(paths.mainSkinFile, "/opt/kb/Skins/Main.ini");
    EXPECT_EQ(paths.languageFile, "/opt/kb/Skins/language.ini");
    EXPECT_EQ(paths.profileSkinFile, "/opt/kb/Skins/Profile.ini");
    EXPECT_EQ(paths.compositeSkinFile, "/opt/kb/Skins/Composite.ini");
    EXPECT_EQ(paths.colourFileStem.string() + "3.userd", "/opt/kb/Skins/UserDengColor_3.userd");
    EXPECT_EQ(paths.companionDaemon, "/opt/kb/Varnhold");
}

TEST(ApplicationPaths, TheRunningProgramIsThisTest) {
    const ApplicationPaths paths = ApplicationPaths::fromExecutable(runningExecutable());
    EXPECT_EQ(paths.executableName, "platform_tests");
    EXPECT_EQ(paths.programDirectory, LinuxPaths().programDirectory());
}

TEST(NamedEvents, NamesRunFromOneToTwoHundredTen) {
    NamedEvents events;
    events.create();
    ASSERT_EQ(events.names().size(), 210u);
    EXPECT_EQ(events.names().front(), "Quillmar_Event_Main_01");
    EXPECT_EQ(events.names()[9], "Quillmar_Event_Main_10");
    EXPECT_EQ(events.names().back(), "Quillmar_Event_Main_210");
    events.close();
    EXPECT_FALSE(events.isOpen());
}

}  // namespace
}  // namespace quillmar::platform
