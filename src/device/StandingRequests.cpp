#include "device/StandingRequests.h"

namespace quillmar::device {

StandingRequests::StandingRequests(const HidService& service, HidlaneCallback callback)
    : service_(service), callback_(callback) {}

void StandingRequests::registerRead(const HidSelector& selector, std::uint32_t tag,
                                    std::uint32_t& unitId) {
    std::lock_guard lock(mutex_);
    service_.DeleteRequestFromUnitId(unitId);
    const auto check = hidlane_check_value(&selector, callback_, tag, nullptr, 0);
    service_.RequestAsyncRead(&selector, callback_, tag, check, &unitId);
}

void StandingRequests::RegisterConsumerRead() {
    registerRead(consumerSelector(), HIDLANE_TAG_CONS, consumerUnit_);
}

void StandingRequests::RegisterCommandRead() {
    registerRead(commandSelector(), HIDLANE_TAG_CTRL, commandUnit_);
}

void StandingRequests::SendStatusWord() {
    std::lock_guard lock(mutex_);
    service_.DeleteRequestFromUnitId(statusUnit_);
    const HidSelector selector = statusSelector();
    const auto check = hidlane_check_value(&selector, callback_, HIDLANE_TAG_DEL,
                                           statusWord_.data(), statusWord_.size());
    service_.RequestStatusWrite(&selector, callback_, HIDLANE_TAG_DEL, statusWord_.data(),
                                statusWord_.size(), check, &statusUnit_);
}

GKeyBank StandingRequests::toggleGKeyBank() {
    std::lock_guard lock(mutex_);
    statusWord_[1] ^= 0x01;
    return static_cast<GKeyBank>(statusWord_[1] & 0x01);
}

GKeyBank StandingRequests::gKeyBank() const {
    std::lock_guard lock(mutex_);
    return static_cast<GKeyBank>(statusWord_[1] & 0x01);
}

StandingRequests::StatusWord StandingRequests::statusWord() const {
    std::lock_guard lock(mutex_);
    return statusWord_;
}

}  // namespace quillmar::device
