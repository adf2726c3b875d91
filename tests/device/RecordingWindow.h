#pragma once

#include "device/MainWindowLink.h"
#include "platform/Prompt.h"

#include <atomic>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace quillmar::device::testing {

// Records every window call as one line, e.g. "send 5452 50524f46", "icon 141".
class RecordingWindow final : public MainWindowLink {
public:
    std::atomic<bool> initialised{true};
    // Runs inside every sent message, as the window's handler would; set
    // before the link starts.
    std::function<void(std::uint32_t message)> onSend;

    std::vector<std::string> calls() const {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

    void sendMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t) override {
        record("send " + hex(message) + " " + hex(wParam));
        if (onSend) onSend(message);
    }
    void postMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t) override {
        record("post " + hex(message) + " " + hex(wParam));
    }
    bool isInitialised() const override { return initialised.load(); }
    void setTrayIcon(int iconId) override { record("icon " + std::to_string(iconId)); }
    void hide() override { record("hide"); }
    void setButtonText(int controlId, const std::u16string& text) override {
        record("text " + std::to_string(controlId) + " " + std::string(text.begin(), text.end()));
    }
    void setButtonStateImages(int controlId, const std::array<std::string, 5>& pictures) override {
        std::string line = "images " + std::to_string(controlId);
        for (const auto& picture : pictures) line += " " + picture;
        record(line);
    }
    void startTimer(int timerId, int periodMs) override {
        record("timer " + std::to_string(timerId) + " " + std::to_string(periodMs));
    }

private:
    static std::string hex(std::uint32_t value) {
        char text[16];
        std::snprintf(text, sizeof text, "%x", value);
        return text;
    }
    void record(std::string line) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(line));
    }

    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
};

class RecordingPrompt final : public platform::Prompt {
public:
    std::vector<std::u16string> messages() const {
        std::lock_guard lock(mutex_);
        return messages_;
    }
    void showMessage(const std::u16string& text) override {
        std::lock_guard lock(mutex_);
        messages_.push_back(text);
    }
    bool askYesNo(const std::u16string& text) override {
        showMessage(text);
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::u16string> messages_;
};

}  // namespace quillmar::device::testing
