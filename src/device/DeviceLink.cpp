#include "device/DeviceLink.h"

#include "device/GKeyButtons.h"
#include "device/WindowMessages.h"

#include <algorithm>
#include <cstdint>
#include <shared_mutex>
#include <thread>

namespace quillmar::device {
namespace {

// The published link. Callbacks hold the lock shared while they run, so
// withdrawing the link waits for the ones in flight.
std::shared_mutex gPublishedLinkMutex;
DeviceLink* gPublishedLink = nullptr;

}  // namespace

int OnServiceNotification(const HidlaneEvent* event) {
    if (!event || !event->request) return 1;
    std::shared_lock lock(gPublishedLinkMutex);
    if (gPublishedLink) gPublishedLink->handleNotification(*event);
    return 1;
}

DeviceLink::DeviceLink(const HidService& service, MainWindowLink& window,
                       platform::Prompt& prompt, const platform::Texts& texts, LinkTiming timing)
    : service_(service),
      window_(window),
      timing_(timing),
      transaction_(service_, timing),
      commands_(transaction_, timing),
      requests_(service_, &OnServiceNotification),
      presence_(commands_, window, prompt, texts, timing) {}

DeviceLink::~DeviceLink() {
    presence_.stop();
    {
        std::unique_lock lock(gPublishedLinkMutex);
        if (gPublishedLink == this) gPublishedLink = nullptr;
    }
    workers_.joinAll();
}

void DeviceLink::publish() {
    std::unique_lock lock(gPublishedLinkMutex);
    gPublishedLink = this;
}

int DeviceLink::start() {
    publish();
    RegisterConsumerRead();
    RegisterCommandRead();
    const int count = transaction_.deviceCount();
    StartPresenceCheck(count);
    if (count == 0) presence_.setAutoShowDone();
    return count;
}

void DeviceLink::StartPresenceCheck(int count) {
    const std::uint64_t ticket = presence_.enqueue();
    workers_.start([this, count, ticket] { presence_.check(count, ticket); });
}

void DeviceLink::handleNotification(const HidlaneEvent& event) {
    const HidlaneRequestRecord& record = *event.request;
    if (event.kind == HIDLANE_EVENT_DATA && record.tag == HIDLANE_TAG_CTRL) {
        transaction_.OnCommandAnswer(record.lengthOrCount, record.data);
    } else if (event.kind == HIDLANE_EVENT_DATA && record.tag == HIDLANE_TAG_CONS) {
        if (record.data && record.lengthOrCount >= 2) {
            handleConsumerNotice(static_cast<std::uint16_t>(record.data[0] | record.data[1] << 8));
        }
    } else if (event.kind == HIDLANE_EVENT_DEVICE_COUNT && record.tag == HIDLANE_TAG_CTRL) {
        StartPresenceCheck(static_cast<int>(std::min<std::uint32_t>(record.lengthOrCount, INT32_MAX)));
    }
}

void DeviceLink::handleConsumerNotice(std::uint16_t code) {
    switch (code) {
    case kNoticeBankKey:
        switchGKeyBank();
        break;
    case kNoticeLightingChanged:
        window_.startTimer(kTimerLightingChanged, 0);
        break;
    case kNoticeIndicatorOff:
    case kNoticeIndicatorOn:
        startIndicator(code == kNoticeIndicatorOn);
        break;
    default:
        break;
    }
}

void DeviceLink::switchGKeyBank() {
    const GKeyBank bank = requests_.toggleGKeyBank();
    requests_.SendStatusWord();
    window_.sendMessage(kMessageRefreshGKeys, kTagDel, 0);
    relabelGKeyButtons(window_, bank);
}

// Indicator threads take turns through the busy flag.
void DeviceLink::startIndicator(bool on) {
    workers_.start([this, on] {
        while (indicatorBusy_.exchange(true)) std::this_thread::sleep_for(timing_.indicatorPoll);
        window_.setTrayIcon(on ? kIconIndicator : presence_.presenceIcon());
        std::this_thread::sleep_for(timing_.indicatorPoll);
        indicatorBusy_.store(false);
    });
}

}  // namespace quillmar::device
