#include "platform/ProcFsProcessList.h"

#include "platform/ChildProcess.h"
#include "platform/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>

namespace quillmar::platform {
namespace {

using testing::ChildProcess;
using testing::TempFolder;

bool lists(const std::vector<ProcessEntry>& entries, int pid, const std::string& name) {
    return std::ranges::any_of(entries, [&](const ProcessEntry& e) { return e.pid == pid && e.executableName == name; });
}

TEST(ProcFsProcessList, ReadsNamesFromTheExecutableLinks) {
    TempFolder proc;
    const auto process = [&](const char* pid, const char* executable) {
        std::filesystem::create_directories(proc / pid);
        if (executable) std::filesystem::create_symlink(executable, proc / pid / "exe");
    };
    process("12", "/opt/kb/Quillmar");
    process("34", "/opt/kb/quillmar (deleted)");  // replaced by an update while running
    process("56", nullptr);                       // a kernel thread, or another user's
    process("self", "/opt/kb/Quillmar");
    process("7x", "/bin/sh");

    const std::vector<ProcessEntry> entries = ProcFsProcessList(proc.path()).snapshot();
    EXPECT_EQ(entries.size(), 2u);
    EXPECT_TRUE(lists(entries, 12, "Quillmar"));
    EXPECT_TRUE(lists(entries, 34, "quillmar"));
}

TEST(ProcFsProcessList, FindsAnotherCopyOfThisProgramButNotItself) {
    const ProcFsProcessList processes;
    EXPECT_TRUE(lists(processes.snapshot(), ::getpid(), "platform_process_tests"));

    ChildProcess copy([] {
        ::pause();
        return 0;
    });
    // Other test runs may be alive too: any of them will do, never this one.
    const int found = FindRunningInstance(processes, "PLATFORM_PROCESS_TESTS");
    EXPECT_NE(found, 0);
    EXPECT_NE(found, ::getpid());
    EXPECT_TRUE(lists(processes.snapshot(), copy.pid(), "platform_process_tests"));
}

}  // namespace
}  // namespace quillmar::platform
