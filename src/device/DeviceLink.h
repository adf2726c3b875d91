#pragma once

#include "device/CommandTransaction.h"
#include "device/DeviceCommands.h"
#include "device/DevicePresence.h"
#include "device/HidService.h"
#include "device/LinkTiming.h"
#include "device/MainWindowLink.h"
#include "device/StandingRequests.h"
#include "device/WorkerThreads.h"
#include "platform/Prompt.h"
#include "text/Texts.h"

#include <atomic>
#include <cstdint>

namespace quillmar::device {

// The whole device link of the process: the transaction, the command set,
// the standing requests, presence and the keyboard's notices.
//
// The library's callback reaches the link through one process-wide pointer,
// set by publish() (start() does it). A published link must outlive every
// callback the library may still make: the program keeps it to the end of
// the process; tests stop their fake service before destroying it.
class DeviceLink {
public:
    DeviceLink(const HidService& service, MainWindowLink& window, platform::Prompt& prompt,
               const text::Texts& texts, LinkTiming timing = {});
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;
    ~DeviceLink();

    // The main window's start of the link: publish, "CONS" read, "CTRL" read,
    // device count, presence check. A start without keyboard also marks the
    // automatic show as done. Returns the device count.
    int start();
    void publish();

    DeviceCommands& commands() { return commands_; }
    CommandTransaction& transaction() { return transaction_; }
    DevicePresence& presence() { return presence_; }
    StandingRequests& requests() { return requests_; }

    void RegisterConsumerRead() { requests_.RegisterConsumerRead(); }
    void RegisterCommandRead() { requests_.RegisterCommandRead(); }
    void SendStatusWord() { requests_.SendStatusWord(); }
    void StartPresenceCheck(int count);

    // Dispatches one library event; the body of OnServiceNotification.
    void handleNotification(const HidlaneEvent& event);

    // Waits until every worker thread started so far has finished.
    void waitForWorkers() { workers_.joinAll(); }

private:
    void handleConsumerNotice(std::uint16_t code);
    void switchGKeyBank();
    void startIndicator(bool on);

    const HidService service_;
    MainWindowLink& window_;
    const LinkTiming timing_;
    CommandTransaction transaction_;
    DeviceCommands commands_;
    StandingRequests requests_;
    DevicePresence presence_;
    std::atomic<bool> indicatorBusy_{false};
    WorkerThreads workers_;
};

// The callback given to the library; hands each event to the published link.
// Always returns 1.
int OnServiceNotification(const HidlaneEvent* event);

// Notice codes of the consumer interface.
inline constexpr std::uint16_t kNoticeBankKey = 0x02FF;
inline constexpr std::uint16_t kNoticeLightingChanged = 0x0401;
inline constexpr std::uint16_t kNoticeIndicatorOff = 0x1810;
inline constexpr std::uint16_t kNoticeIndicatorOn = 0x1811;

}  // namespace quillmar::device
