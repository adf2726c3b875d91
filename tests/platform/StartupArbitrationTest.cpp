#include "platform/StartupArbitration.h"

#include "platform/ProcessList.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace quillmar::platform {
namespace {

class FakeMutex final : public InstanceMutex {
public:
    bool open() override { return heldElsewhere; }
    bool create() override { return created = true; }
    void close() override {}

    bool heldElsewhere = false;
    bool created = false;
};

class FakeProcesses final : public ProcessList {
public:
    std::vector<ProcessEntry> snapshot() const override { return entries; }
    int currentProcessId() const override { return 100; }

    std::vector<ProcessEntry> entries;
};

class FakeSignal final : public InstanceSignal {
public:
    bool SignalInstance(int pid, InstanceRequest request) override {
        signalled.push_back({pid, request});
        return true;
    }
    int SignalRunningInstance(InstanceRequest request) override {
        if (runningPid == 0) return 0;
        return SignalInstance(runningPid, request) ? runningPid : 0;
    }
    int runningPid = 0;  // the window whose socket answers, 0 for none
    struct Call {
        int pid;
        InstanceRequest request;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> signalled;
};

class FakeCompanion final : public CompanionStarter {
public:
    bool start(const std::filesystem::path& program) override {
        started = program;
        return true;
    }
    std::optional<std::filesystem::path> started;
};

struct Case {
    const char* name;
    std::vector<std::string> arguments;
    bool mutexHeldElsewhere;
    bool otherInstanceRunning;
    // Expected:
    bool goOn;
    std::optional<FakeSignal::Call> signalled;
    bool mutexCreated;
    bool companionStarted;
    bool autoShowDone;
};

const Case kCases[] = {
    {"FirstStart", {}, false, false, true, std::nullopt, true, true, false},
    {"FirstStartHidden", {"/start"}, false, false, true, std::nullopt, true, true, true},
    {"SecondStartShowsTheFirst", {}, true, true, false, FakeSignal::Call{200, InstanceRequest::Show}, false, false, false},
    {"MutexWithoutInstance", {}, true, false, true, std::nullopt, false, true, false},
    // The mutex is not consulted for /Kill: a found instance is closed.
    {"KillClosesTheRunningOne", {"/KILL"}, true, true, false, FakeSignal::Call{200, InstanceRequest::Close}, false, false, false},
    {"KillWithNothingRunningEnds", {"/Kill"}, false, false, false, std::nullopt, false, false, false},
    {"KillWinsOverStart", {"/Start", "/Kill"}, true, true, false, FakeSignal::Call{200, InstanceRequest::Close}, false, false, true},
    {"OtherArgumentsIgnored", {"--kill", "Kill", "/Killer"}, false, false, true, std::nullopt, true, true, false},
};

class Arbitration : public ::testing::TestWithParam<Case> {};

TEST_P(Arbitration, DecidesAsTheTableSays) {
    const Case& c = GetParam();
    FakeMutex mutex;
    mutex.heldElsewhere = c.mutexHeldElsewhere;
    FakeSignal signal;
    if (c.otherInstanceRunning) signal.runningPid = 200;
    FakeCompanion companion;

    const ApplicationPaths paths = ApplicationPaths::fromExecutable("/opt/kb/quillmar");
    const StartupOutcome outcome = ArbitrateStartup(ReadStartOptions(c.arguments), paths,
                                                    {mutex, signal, companion});

    EXPECT_EQ(outcome.goOn, c.goOn);
    EXPECT_EQ(signal.signalled, c.signalled ? std::vector{*c.signalled} : std::vector<FakeSignal::Call>{});
    EXPECT_EQ(mutex.created, c.mutexCreated);
    EXPECT_EQ(outcome.companionStarted, c.companionStarted);
    EXPECT_EQ(companion.started.has_value(), c.companionStarted);
    if (companion.started) {
        EXPECT_EQ(*companion.started, "/opt/kb/Varnhold");
    }
    EXPECT_EQ(outcome.autoShowDone, c.autoShowDone);
}

INSTANTIATE_TEST_SUITE_P(Cases, Arbitration, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StartOptions, SkipsTheProgramName) {
    const char* argv[] = {"/Kill", "/start"};
    const StartOptions options = ReadStartOptions(2, argv);
    EXPECT_FALSE(options.kill);
    EXPECT_TRUE(options.startHidden);
}

TEST(FindRunningInstance, MatchesNamesIgnoringCaseAndNeverItself) {
    FakeProcesses processes;
    processes.entries = {{100, "quillmar"}, {7, "QUILLMAR.bin"}, {0, "quillmar"}};
    EXPECT_EQ(FindRunningInstance(processes, "Quillmar"), 0);
    processes.entries.push_back({300, "QuillMar"});
    EXPECT_EQ(FindRunningInstance(processes, "quillmar"), 300);
}

}  // namespace
}  // namespace quillmar::platform
