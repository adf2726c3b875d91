#include "device/LinkFixture.h"
#include "device/ResultCode.h"
#include "device/WindowMessages.h"

#include <gmock/gmock.h>

namespace quillmar::device::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;

class DevicePresenceTest : public LinkFixture {
protected:
    void plug(int count) {
        fake.announceDeviceCount(count);
        settle();
    }
    DevicePresence& presence() { return link->presence(); }
};

TEST_F(DevicePresenceTest, FirstArrivalReadsTheKeyboardReloadsAndShowsTheWindow) {
    plug(1);
    EXPECT_THAT(window.calls(),
                ElementsAre("send 5452 50524f46", "icon 141", "post 5350 4f50454e"));
    EXPECT_EQ(presence().connectedCount(), 1);
    EXPECT_EQ(presence().macroMemorySize(), 0x40 * 128);
    EXPECT_EQ(presence().defaultKeyTable()[200], fake.memoryByte(15, 200));
    EXPECT_TRUE(presence().autoShowDone());
    EXPECT_THAT(prompt.messages(), IsEmpty());
}

TEST_F(DevicePresenceTest, RemovalClosesEditorsHidesAndForgetsTheProfile) {
    plug(1);
    ASSERT_EQ(link->commands().SetActiveProfile(2), kSuccess);
    window.clear();
    plug(0);
    EXPECT_THAT(window.calls(), ElementsAre("send 4753 0", "hide", "icon 128"));
    EXPECT_EQ(presence().connectedCount(), 0);

    window.clear();
    fake.setMemoryByte(3, kDeviceInfoActiveProfile, 0);
    plug(1);
    EXPECT_THAT(window.calls(), ElementsAre("send 5452 50524f46", "icon 141"));
    EXPECT_EQ(link->commands().GetActiveProfile(), 0);
}

TEST_F(DevicePresenceTest, CountEqualToTheConnectedCountDoesNothing) {
    plug(1);
    window.clear();
    const auto writes = fake.writes().size();
    plug(1);
    EXPECT_THAT(window.calls(), IsEmpty());
    EXPECT_EQ(fake.writes().size(), writes);
}

TEST_F(DevicePresenceTest, StartWithKeyboardRunsTheArrival) {
    EXPECT_EQ(link->start(), 1);
    settle();
    EXPECT_THAT(window.calls(),
                ElementsAre("send 5452 50524f46", "icon 141", "post 5350 4f50454e"));
}

TEST_F(DevicePresenceTest, StartWithoutKeyboardNeverShowsTheWindowLater) {
    fake.setDeviceCount(0);
    EXPECT_EQ(link->start(), 0);
    settle();
    plug(1);
    EXPECT_THAT(window.calls(), ElementsAre("send 5452 50524f46", "icon 141"));
}

TEST_F(DevicePresenceTest, FailedLayoutReadTellsTheUserAndKeepsTheOldTable) {
    const auto before = presence().defaultKeyTable();
    fake.setResponder([](const FakeHidService::Report& request, int) {
        return std::vector<FakeHidService::Delivery>{
            {answerWithStatus(request, request[3] == 15 ? 0xFF : 0), {}}};
    });
    plug(1);
    EXPECT_THAT(prompt.messages(), ElementsAre(u"Reads the default keyboard layout failure"));
    EXPECT_EQ(presence().defaultKeyTable(), before);
    EXPECT_THAT(window.calls(), Contains("send 5452 50524f46"));
    EXPECT_EQ(presence().connectedCount(), 1);
}

// The keyboard leaves (and maybe comes back) while the window is still taking
// it up; the program must end in the state of the last notice.
TEST_F(DevicePresenceTest, NoticesDuringAnArrivalEndInTheStateOfTheLastOne) {
    struct Case {
        std::vector<int> duringReload;
        int connected;
        std::vector<std::string> lastCalls;
    };
    const Case cases[] = {
        {{0}, 0, {"send 4753 0", "hide", "icon 128"}},
        {{0, 1}, 1, {"send 4753 0", "hide", "icon 128", "send 5452 50524f46", "icon 141"}},
        {{0, 1, 0, 1}, 1, {"send 4753 0", "hide", "icon 128", "send 5452 50524f46", "icon 141"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.duringReload.size());
        window.clear();
        makeLink(quickTiming());
        bool first = true;
        window.onSend = [&](std::uint32_t message) {
            if (message != kMessageReloadProfile || !std::exchange(first, false)) return;
            for (int count : c.duringReload) fake.announceDeviceCount(count);
            fake.drain();
        };
        fake.setDeviceCount(0);
        plug(1);
        window.onSend = nullptr;
        EXPECT_EQ(presence().connectedCount(), c.connected);
        const auto calls = window.calls();
        ASSERT_GE(calls.size(), c.lastCalls.size());
        EXPECT_EQ(std::vector(calls.end() - static_cast<std::ptrdiff_t>(c.lastCalls.size()), calls.end()), c.lastCalls);
    }
}

TEST_F(DevicePresenceTest, TrayWaitsForTheInitialisedWindow) {
    window.initialised = false;
    fake.announceDeviceCount(1);
    fake.drain();
    std::this_thread::sleep_for(30ms);
    EXPECT_THAT(window.calls(), Not(Contains("icon 141")));
    EXPECT_EQ(presence().connectedCount(), 0);
    window.initialised = true;
    settle();
    EXPECT_THAT(window.calls(), Contains("icon 141"));
}

// A keyboard plugged in again while the window is still busy with its removal: the arrival
// must not be judged against the count from before the removal, or the keyboard is never read.
TEST_F(DevicePresenceTest, AReturnSeenWhileTheRemovalIsStillHandledIsRead) {
    plug(1);
    window.initialised = false; // the removal's check now waits for the window
    fake.announceDeviceCount(0);
    while (window.calls().size() < 5) std::this_thread::sleep_for(1ms); // "send 4753 0", "hide"
    fake.announceDeviceCount(1);
    std::this_thread::sleep_for(20ms);
    window.clear();
    window.initialised = true;
    settle();
    EXPECT_EQ(presence().connectedCount(), 1);
    EXPECT_THAT(window.calls(), Contains("send 5452 50524f46"));
}

TEST_F(DevicePresenceTest, ShutdownEndsACheckStillWaitingForTheWindow) {
    window.initialised = false;
    fake.announceDeviceCount(1);
    while (window.calls().empty()) std::this_thread::sleep_for(1ms);  // the check now waits
    link.reset();
    EXPECT_THAT(window.calls(), ElementsAre("send 5452 50524f46"));
    makeLink(quickTiming());
}

}  // namespace
}  // namespace quillmar::device::testing
