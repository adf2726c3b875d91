#pragma once

#include "device/DeviceLink.h"
#include "device/FakeHidService.h"
#include "device/RecordingWindow.h"

#include <gtest/gtest.h>

#include <memory>

namespace quillmar::device::testing {

using namespace std::chrono_literals;

// Pauses short enough for tests; the answer wait is generous because the fake
// answers at once and a time-out here would be a fault.
inline LinkTiming quickTiming(std::chrono::milliseconds answerWait = 5000ms) {
    return LinkTiming{answerWait, 1ms, 20ms, 1ms, 1ms, 1ms};
}

// A link wired to a fake keyboard, a recording window and prompt, published
// as the process's link.
class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override { makeLink(quickTiming()); }

    void makeLink(LinkTiming timing) {
        link.reset();
        link = std::make_unique<DeviceLink>(fake.service(), window, prompt, texts, timing);
        link->publish();
        link->RegisterConsumerRead();
        link->RegisterCommandRead();
    }

    void TearDown() override {
        settle();
        EXPECT_EQ(fake.badCheckValues(), 0);
        link.reset();
    }

    // Lets every delivery and worker thread started so far run to its end.
    void settle() {
        fake.drain();
        link->waitForWorkers();
        fake.drain();
    }

    FakeHidService fake;
    RecordingWindow window;
    RecordingPrompt prompt;
    text::BuiltInTexts texts;
    std::unique_ptr<DeviceLink> link;
};

}  // namespace quillmar::device::testing
