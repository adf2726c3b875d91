#include "FakeHidraw.h"
#include "HidrawService.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

using namespace quillmar::hidraw;
using namespace quillmar::hidraw::testing;
using ::testing::ElementsAre;

namespace {

const HidSelector kCommand = hidlane_selector(HIDLANE_COMMAND_USAGE_PAGE, HIDLANE_COMMAND_USAGE);
const HidSelector kConsumer = hidlane_selector(HIDLANE_CONSUMER_USAGE_PAGE, HIDLANE_CONSUMER_USAGE);
const HidSelector kStatus = hidlane_selector(HIDLANE_STATUS_USAGE_PAGE, HIDLANE_STATUS_USAGE);

struct Event {
    uint32_t kind;
    uint32_t tag;
    uint32_t lengthOrCount;
    std::vector<uint8_t> data;
    std::thread::id thread;
};

// What the callbacks saw, shared with the plain C callbacks below.
class EventLog {
public:
    void add(const HidlaneEvent* e) {
        Event copy{e->kind, e->request->tag, e->request->lengthOrCount, {}, std::this_thread::get_id()};
        if (e->request->data) copy.data.assign(e->request->data, e->request->data + e->request->lengthOrCount);
        std::function<void()> hook;
        {
            std::lock_guard lock(mutex_);
            events_.push_back(copy);
            hook = onEvent;
        }
        changed_.notify_all();
        if (hook) hook();
    }

    // Waits until at least n events arrived; returns the events (fewer on time-out).
    std::vector<Event> waitFor(size_t n) {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, std::chrono::seconds(5), [&] { return events_.size() >= n; });
        return events_;
    }

    std::vector<Event> now() {
        std::lock_guard lock(mutex_);
        return events_;
    }

    void clear() {
        std::lock_guard lock(mutex_);
        events_.clear();
        onEvent = nullptr;
    }

    std::function<void()> onEvent; // set before the reads start

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Event> events_;
};

EventLog gLog;
int recordEvent(const HidlaneEvent* event) {
    gLog.add(event);
    return 1;
}
int recordOtherEvent(const HidlaneEvent* event) {
    gLog.add(event);
    return 1;
}

uint32_t check(const HidSelector& s, HidlaneCallback cb, uint32_t tag, const std::vector<uint8_t>& payload = {}) {
    return hidlane_check_value(&s, cb, tag, payload.empty() ? nullptr : payload.data(), uint32_t(payload.size()));
}

std::vector<uint8_t> receive(int fd) {
    std::vector<uint8_t> bytes(256);
    ssize_t n = ::recv(fd, bytes.data(), bytes.size(), MSG_DONTWAIT);
    bytes.resize(n > 0 ? size_t(n) : 0);
    return bytes;
}

void send(int fd, const std::vector<uint8_t>& bytes) { ASSERT_EQ(::send(fd, bytes.data(), bytes.size(), 0), ssize_t(bytes.size())); }

std::vector<uint8_t> commandReport(uint8_t command) {
    std::vector<uint8_t> report(64, 0);
    report[0] = 4;
    report[3] = command;
    return report;
}

class HidrawServiceTest : public ::testing::Test {
protected:
    std::shared_ptr<FakeHidraw> fake = std::make_shared<FakeHidraw>();
    HidrawService service{[this] { return fake; }, 50};

    void SetUp() override { gLog.clear(); }
    void TearDown() override {
        service.end();
        gLog.clear();
    }

    int count() { return service.getDeviceCount(&kCommand, nullptr, 0, check(kCommand, nullptr, 0), nullptr); }
    int writeOne(const std::vector<uint8_t>& report) {
        return service.writeOne(&kCommand, nullptr, 0, report.data(), uint32_t(report.size()),
                                check(kCommand, nullptr, 0, report), nullptr);
    }
    uint32_t startRead(const HidSelector& s, uint32_t tag, HidlaneCallback cb = recordEvent) {
        uint32_t unit = 0;
        EXPECT_GT(service.asyncRead(&s, cb, tag, check(s, cb, tag), &unit), 0);
        return unit;
    }
    int statusWrite(const std::vector<uint8_t>& word, uint32_t* unit) {
        return service.statusWrite(&kStatus, recordEvent, HIDLANE_TAG_DEL, word.data(), uint32_t(word.size()),
                                   check(kStatus, recordEvent, HIDLANE_TAG_DEL, word), unit);
    }
    // Lets the watcher and the reads catch up with a plug or unplug.
    void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(200)); }
};

} // namespace

TEST_F(HidrawServiceTest, CountsKeyboardsAndRefusesWrongCheckValues) {
    fake->plugKeyboard(3, "1");
    fake->plugKeyboard(7, "2");
    ASSERT_GT(service.init(0), 0);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(service.getDeviceCount(&kCommand, nullptr, 0, check(kCommand, nullptr, 0) + 1, nullptr), 0);
    EXPECT_EQ(service.getDeviceCount(nullptr, nullptr, 0, 0, nullptr), 0);
    uint32_t unit = 0;
    EXPECT_EQ(service.asyncRead(&kCommand, recordEvent, HIDLANE_TAG_CTRL, 0, &unit), 0);
    EXPECT_EQ(unit, 0u);
    EXPECT_GT(service.init(0), 0); // again: changes nothing
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(service.init(1), 0);
}

TEST_F(HidrawServiceTest, WriteOneSendsTheReportToTheFirstKeyboardOnly) {
    auto first = fake->plugKeyboard(3, "1");
    auto second = fake->plugKeyboard(7, "2");
    ASSERT_GT(service.init(0), 0);
    auto report = commandReport(0x03);
    EXPECT_EQ(writeOne(report), 1);
    EXPECT_EQ(receive(first.command), report);
    EXPECT_TRUE(receive(second.command).empty());

    auto bad = report;
    EXPECT_EQ(service.writeOne(&kCommand, nullptr, 0, bad.data(), 64, check(kCommand, nullptr, 0, bad) ^ 1, nullptr), 0);
    EXPECT_TRUE(receive(first.command).empty());
}

TEST_F(HidrawServiceTest, WriteFailsWhenNothingOrOnlyPartOfTheReportGoesOut) {
    ASSERT_GT(service.init(0), 0);
    EXPECT_EQ(writeOne(commandReport(1)), 0); // no keyboard

    fake->plug({"hidraw4", "usb-1/input1", commandDescriptor()}, OpenOutcome::Vanished);
    settle();
    EXPECT_EQ(count(), 0);                    // listed, but gone before it could be opened
    EXPECT_EQ(writeOne(commandReport(1)), 0);

    int keyboard = fake->plug({"hidraw5", "usb-2/input1", commandDescriptor()});
    fake->unplug("hidraw4");
    settle();
    fake->shortenWrites(true);
    EXPECT_EQ(writeOne(commandReport(1)), 0);
    EXPECT_EQ(receive(keyboard).size(), 63u);
    fake->shortenWrites(false);
    EXPECT_EQ(writeOne(commandReport(1)), 1);
}

TEST_F(HidrawServiceTest, RequestWriteReachesEveryKeyboard) {
    auto first = fake->plugKeyboard(3, "1");
    auto second = fake->plugKeyboard(7, "2");
    ASSERT_GT(service.init(0), 0);
    auto report = commandReport(0x11);
    EXPECT_EQ(service.write(&kCommand, nullptr, 0, report.data(), 64, check(kCommand, nullptr, 0, report), nullptr), 2);
    EXPECT_EQ(receive(first.command), report);
    EXPECT_EQ(receive(second.command), report);
}

TEST_F(HidrawServiceTest, StandingReadsDeliverEachReportOnTheirOwnThread) {
    auto keyboard = fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    startRead(kConsumer, HIDLANE_TAG_CONS);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    settle();

    auto answer = commandReport(0x07);
    answer[8] = 0xAB;
    send(keyboard.command, answer);
    send(keyboard.consumer, {0x03, 0xFF, 0x02}); // report id 3, then the bank key's code
    send(keyboard.consumer, {0x03, 0x01, 0x04});
    auto events = gLog.waitFor(3);
    ASSERT_EQ(events.size(), 3u);

    std::vector<Event> ctrl, cons;
    for (const auto& e : events) (e.tag == HIDLANE_TAG_CTRL ? ctrl : cons).push_back(e);
    ASSERT_EQ(ctrl.size(), 1u);
    EXPECT_EQ(ctrl[0].kind, HIDLANE_EVENT_DATA);
    EXPECT_EQ(ctrl[0].data, answer); // the whole frame, report id included
    ASSERT_EQ(cons.size(), 2u);
    EXPECT_THAT(cons[0].data, ElementsAre(0xFF, 0x02)); // event code 0x02FF, little-endian
    EXPECT_THAT(cons[1].data, ElementsAre(0x01, 0x04));
    EXPECT_EQ(cons[0].thread, cons[1].thread);
    EXPECT_NE(cons[0].thread, ctrl[0].thread);
    EXPECT_NE(cons[0].thread, std::this_thread::get_id());
}

TEST_F(HidrawServiceTest, ArrivalIsCountedAndTheReadIsListeningByThen) {
    ASSERT_GT(service.init(0), 0);
    startRead(kConsumer, HIDLANE_TAG_CONS);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    EXPECT_EQ(count(), 0);

    auto keyboard = fake->plugKeyboard(3, "1");
    auto events = gLog.waitFor(1);
    ASSERT_GE(events.size(), 1u);
    EXPECT_EQ(events[0].kind, HIDLANE_EVENT_DEVICE_COUNT);
    EXPECT_EQ(events[0].tag, HIDLANE_TAG_CTRL);
    EXPECT_EQ(events[0].lengthOrCount, 1u);
    EXPECT_TRUE(events[0].data.empty());
    EXPECT_EQ(fake->openCount("hidraw4"), 1); // the command read opened the node before the count came

    send(keyboard.command, commandReport(0x0F));
    events = gLog.waitFor(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[1].data, commandReport(0x0F));
    EXPECT_EQ(events[1].thread, events[0].thread);
}

TEST_F(HidrawServiceTest, RemovalMidReadEndsTheReadAndAReturnIsPickedUp) {
    auto keyboard = fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    settle();
    send(keyboard.command, commandReport(0x09));
    for (int n : {3, 4, 5}) fake->unplug("hidraw" + std::to_string(n));

    auto events = gLog.waitFor(2);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].data, commandReport(0x09)); // the report read before the keyboard left
    EXPECT_EQ(events[1].kind, HIDLANE_EVENT_DEVICE_COUNT);
    EXPECT_EQ(events[1].lengthOrCount, 0u);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(writeOne(commandReport(1)), 0);

    keyboard = fake->plugKeyboard(3, "1"); // the same node names come back
    events = gLog.waitFor(3);
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[2].lengthOrCount, 1u);
    send(keyboard.command, commandReport(0x0A));
    events = gLog.waitFor(4);
    ASSERT_EQ(events.size(), 4u);
    EXPECT_EQ(events[3].data, commandReport(0x0A));
}

TEST_F(HidrawServiceTest, DeletedReadsAreSilent) {
    auto keyboard = fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    uint32_t ctrl = startRead(kCommand, HIDLANE_TAG_CTRL);
    uint32_t cons = startRead(kConsumer, HIDLANE_TAG_CONS, recordOtherEvent);
    startRead(kCommand, HIDLANE_TAG_CTRL, recordOtherEvent);
    EXPECT_NE(ctrl, cons);
    EXPECT_EQ(service.deleteUnit(ctrl), 1);
    EXPECT_EQ(service.deleteUnit(ctrl), 0);
    EXPECT_EQ(service.deleteByCallback(recordOtherEvent), 2);

    send(keyboard.command, commandReport(2));
    send(keyboard.consumer, {0x03, 0x10, 0x18});
    settle();
    EXPECT_TRUE(gLog.now().empty());
}

TEST_F(HidrawServiceTest, ACallbackMayDeleteItsOwnRead) {
    auto keyboard = fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    std::atomic<uint32_t> unit{0};
    gLog.onEvent = [&] { service.deleteUnit(unit.load()); };
    unit = startRead(kCommand, HIDLANE_TAG_CTRL);
    settle();
    send(keyboard.command, commandReport(1));
    send(keyboard.command, commandReport(2));
    settle();
    EXPECT_EQ(gLog.now().size(), 1u);
}

TEST_F(HidrawServiceTest, StatusWordGoesOutAndAgainWhenTheKeyboardReturns) {
    auto keyboard = fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    uint32_t unit = 0;
    EXPECT_EQ(statusWrite({0x05, 0x03}, &unit), 1);
    EXPECT_NE(unit, 0u);
    EXPECT_THAT(receive(keyboard.status), ElementsAre(0x05, 0x03));

    uint32_t getUnit = 0;
    ASSERT_GT(service.statusGet(&kStatus, recordEvent, HIDLANE_TAG_DEL, check(kStatus, recordEvent, HIDLANE_TAG_DEL),
                                &getUnit),
              0);
    auto events = gLog.waitFor(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_THAT(events[0].data, ElementsAre(0x05, 0x03));
    EXPECT_NE(events[0].thread, std::this_thread::get_id());

    for (int n : {3, 4, 5}) fake->unplug("hidraw" + std::to_string(n));
    settle();
    keyboard = fake->plugKeyboard(3, "1");
    settle();
    EXPECT_THAT(receive(keyboard.status), ElementsAre(0x05, 0x03));

    EXPECT_EQ(service.deleteUnit(unit), 1);
    for (int n : {3, 4, 5}) fake->unplug("hidraw" + std::to_string(n));
    keyboard = fake->plugKeyboard(3, "1");
    settle();
    EXPECT_TRUE(receive(keyboard.status).empty());
}

// Before udev's uaccess rule has run, the node is there but only root may open it. The
// keyboard counts once it can be opened; the open is tried again at every rescan tick, so no
// replug is needed, and the status word that could not go out follows.
TEST_F(HidrawServiceTest, AKeyboardThatCannotBeOpenedYetIsExplainedAndArrivesOnceItCan) {
    auto keyboard = fake->plugKeyboard(3, "1");
    for (int n : {3, 4, 5}) fake->setOpenOutcome("hidraw" + std::to_string(n), OpenOutcome::Denied);
    ::testing::internal::CaptureStderr();
    ASSERT_GT(service.init(0), 0);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    EXPECT_EQ(count(), 0);
    EXPECT_EQ(writeOne(commandReport(1)), 0);
    EXPECT_EQ(writeOne(commandReport(1)), 0);
    uint32_t unit = 0;
    EXPECT_EQ(statusWrite({0x05, 0x02}, &unit), 0);
    settle();
    std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_THAT(told, ::testing::HasSubstr("quillmarctl doctor"));
    EXPECT_THAT(told, ::testing::HasSubstr(fake->devRoot() / "hidraw4"));
    EXPECT_EQ(told.find("not allowed"), told.rfind("not allowed")); // told once per keyboard, not per attempt
    EXPECT_TRUE(gLog.now().empty());                                 // no arrival while it cannot be used

    for (int n : {3, 4, 5}) fake->setOpenOutcome("hidraw" + std::to_string(n), OpenOutcome::Opens);
    auto events = gLog.waitFor(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, HIDLANE_EVENT_DEVICE_COUNT);
    EXPECT_EQ(events[0].lengthOrCount, 1u);
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(writeOne(commandReport(1)), 1);
    send(keyboard.command, commandReport(1));
    EXPECT_EQ(gLog.waitFor(2).size(), 2u);
    settle();
    EXPECT_THAT(receive(keyboard.status), ElementsAre(0x05, 0x02));
}

TEST_F(HidrawServiceTest, ANodeUdevHasNotFinishedWithIsNotCounted) {
    fake->holdUdev("hidraw4");
    fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    EXPECT_EQ(count(), 0);
    fake->finishUdev("hidraw4");
    auto events = gLog.waitFor(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].lengthOrCount, 1u);
    EXPECT_EQ(count(), 1);
}

TEST_F(HidrawServiceTest, AReadIsListeningWhenItsRequestReturns) {
    fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    // The kernel gives each open file only the reports that arrive after the open.
    EXPECT_EQ(fake->openCount("hidraw4"), 1);
}

// The command and the consumer collection on one node under their own report ids: every open
// file of the node gets every report, and each read keeps only its own collection's.
TEST_F(HidrawServiceTest, EachReadGetsOnlyItsOwnCollectionsReports) {
    std::vector<uint8_t> shared = commandDescriptor();
    const auto consumer = consumerDescriptor();
    shared.insert(shared.end(), consumer.begin(), consumer.end());
    int node = fake->plug({"hidraw2", "usb-1/input1", shared});
    ASSERT_GT(service.init(0), 0);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    startRead(kConsumer, HIDLANE_TAG_CONS);
    settle();
    // Both reads hold the same socket here, so each report is read by one of them: the test
    // looks at what was delivered, not at who read it.
    send(node, {0x03, 0x11, 0x18});
    send(node, commandReport(0x05));
    send(node, {0x09, 0x01, 0x02}); // an id the node does not declare
    settle();
    for (const auto& e : gLog.now()) {
        if (e.tag == HIDLANE_TAG_CTRL) EXPECT_EQ(e.data, commandReport(0x05));
        else EXPECT_THAT(e.data, ElementsAre(0x11, 0x18));
    }
}

TEST_F(HidrawServiceTest, WritesFollowTheDescriptor) {
    auto keyboard = fake->plugKeyboard(3, "1");
    const std::vector<uint8_t> unnumbered = {0x06, 0x1C, 0xFF, 0x09, 0x92, 0xA1, 0x01, 0x75, 0x08,
                                             0x95, 0x08, 0x91, 0x02, 0xB1, 0x02, 0xC0};
    int plain = fake->plug({"hidraw9", "usb-2/input0", unnumbered});
    ASSERT_GT(service.init(0), 0);

    EXPECT_EQ(writeOne({0x04, 0x00, 0x00, 0x03}), 1); // padded to the declared 63 bytes after the id
    auto padded = commandReport(0x03);
    EXPECT_EQ(receive(keyboard.command), padded);
    EXPECT_EQ(writeOne(std::vector<uint8_t>(65, 0x04)), 0); // longer than declared
    EXPECT_EQ(writeOne({0x07, 0x01}), 0);                   // an id the interface does not take
    EXPECT_TRUE(receive(keyboard.command).empty());

    // Feature reports go through HIDIOCSFEATURE, padded the same way.
    const std::vector<uint8_t> statusFeature = {0x05};
    EXPECT_EQ(service.setFeature(&kStatus, nullptr, 0, statusFeature.data(), 1, check(kStatus, nullptr, 0, statusFeature),
                                 nullptr),
              0); // the status interface declares no feature report
    EXPECT_EQ(service.write(&kCommand, nullptr, 0, padded.data(), 64, check(kCommand, nullptr, 0, padded), nullptr), 1);
    EXPECT_EQ(receive(keyboard.command), padded);

    // A collection without report ids: byte 0 goes out as 0, whatever the caller put there.
    for (int n : {3, 4, 5}) fake->unplug("hidraw" + std::to_string(n));
    settle();
    EXPECT_EQ(writeOne({0x04, 0xAA}), 1);
    EXPECT_EQ(receive(plain), (std::vector<uint8_t>{0x00, 0xAA, 0, 0, 0, 0, 0, 0, 0}));
    const std::vector<uint8_t> feature = {0x04, 0xBB, 0xCC};
    EXPECT_EQ(service.setFeature(&kCommand, nullptr, 0, feature.data(), 3, check(kCommand, nullptr, 0, feature), nullptr),
              1);
    EXPECT_EQ(fake->featureReports().back(), (std::vector<uint8_t>{0x00, 0xBB, 0xCC, 0, 0, 0, 0, 0, 0}));
}

TEST_F(HidrawServiceTest, ANodeNowHeldByAnotherDeviceIsNotWritten) {
    HidrawService slow{[this] { return fake; }, 60000}; // sysfs is not read again during the test
    fake->plug({"hidraw4", "usb-1/input1", commandDescriptor()});
    ASSERT_GT(slow.init(0), 0);
    int other = fake->replaceSilently({"hidraw4", "usb-9/input1", commandDescriptor()});
    auto report = commandReport(1);
    EXPECT_EQ(slow.writeOne(&kCommand, nullptr, 0, report.data(), 64, check(kCommand, nullptr, 0, report), nullptr), 0);
    EXPECT_TRUE(receive(other).empty());
    slow.end();
}

// Two keyboards, the first one's command interface on a high node number (plugged in again
// while the other was there): reads and writes all go to one keyboard.
TEST_F(HidrawServiceTest, InterfacesOfTwoKeyboardsAreNeverMixed) {
    fake->plug({"hidraw1", "usb-1/input0", consumerDescriptor()});
    fake->plug({"hidraw10", "usb-1/input1", commandDescriptor()});
    auto second = fake->plugKeyboard(6, "2");
    ASSERT_GT(service.init(0), 0);
    startRead(kConsumer, HIDLANE_TAG_CONS);
    startRead(kCommand, HIDLANE_TAG_CTRL);
    EXPECT_EQ(fake->openCount("hidraw1") + fake->openCount("hidraw10"), 0);
    EXPECT_EQ(writeOne(commandReport(3)), 1);
    EXPECT_EQ(receive(second.command), commandReport(3));
    send(second.consumer, {0x03, 0x01, 0x04});
    auto events = gLog.waitFor(1);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_THAT(events[0].data, ElementsAre(0x01, 0x04));
}

TEST_F(HidrawServiceTest, EndStopsEveryReadAndInitStartsAfresh) {
    auto keyboard = fake->plugKeyboard(3, "1");
    ASSERT_GT(service.init(0), 0);
    uint32_t unit = startRead(kCommand, HIDLANE_TAG_CTRL);
    EXPECT_EQ(service.end(), 1);
    EXPECT_EQ(service.deleteUnit(unit), 0);
    EXPECT_EQ(count(), 0);
    send(keyboard.command, commandReport(1));
    settle();
    EXPECT_TRUE(gLog.now().empty());
    ASSERT_GT(service.init(0), 0);
    EXPECT_EQ(count(), 1);
}
