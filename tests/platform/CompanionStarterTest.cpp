#include "platform/DetachedCompanionStarter.h"

#include "platform/ChildProcess.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <sstream>

namespace quillmar::platform {
namespace {

using testing::TempFolder;

struct ProcessStat {
    int pid = 0;
    int session = 0;
};

// pid, then after the command name: state, parent, group, session.
ProcessStat parseStat(const std::string& text) {
    ProcessStat stat;
    std::istringstream(text) >> stat.pid;
    std::istringstream rest(text.substr(text.rfind(')') + 1));
    std::string state;
    int parent = 0, group = 0;
    rest >> state >> parent >> group >> stat.session;
    return stat;
}

TEST(DetachedCompanionStarter, RunsInItsOwnSessionAndLeavesNoZombie) {
    TempFolder folder;
    const std::filesystem::path program = folder / "Varnhold";
    testing::writeBytes(program,
                        "#!/bin/sh\n"
                        "cat /proc/$$/stat > \"$0.tmp\" && mv \"$0.tmp\" \"$0.stat\"\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);

    ASSERT_TRUE(DetachedCompanionStarter().start(program));
    const std::filesystem::path statFile = folder / "Varnhold.stat";
    ASSERT_TRUE(testing::eventually([&] { return std::filesystem::exists(statFile); }));
    const ProcessStat stat = parseStat(testing::readBytes(statFile));
    EXPECT_EQ(stat.session, stat.pid);
    const std::filesystem::path entry = "/proc/" + std::to_string(stat.pid);
    EXPECT_TRUE(testing::eventually([&] { return !std::filesystem::exists(entry); }));
}

TEST(DetachedCompanionStarter, AMissingOrUnrunnableProgramIsNotStarted) {
    TempFolder folder;
    EXPECT_FALSE(DetachedCompanionStarter().start(folder / "Varnhold"));
    testing::writeBytes(folder / "Varnhold", "#!/bin/sh\n");
    EXPECT_FALSE(DetachedCompanionStarter().start(folder / "Varnhold"));
}

}  // namespace
}  // namespace quillmar::platform
