#pragma once

#include "device/MainWindowLink.h"
#include "platform/Prompt.h"

#include <array>
#include <cstdint>
#include <string>

namespace quillmar::testing {

// A main window and message boxes that take everything and show nothing: for benchmarks,
// where only the keyboard's side is measured.
class QuietWindow final : public device::MainWindowLink {
public:
    void sendMessage(std::uint32_t, std::uint32_t, std::uint32_t) override {}
    void postMessage(std::uint32_t, std::uint32_t, std::uint32_t) override {}
    bool isInitialised() const override { return true; }
    void setTrayIcon(int) override {}
    void hide() override {}
    void setButtonText(int, const std::u16string&) override {}
    void setButtonStateImages(int, const std::array<std::string, 5>&) override {}
    void startTimer(int, int) override {}
};

class QuietPrompt final : public platform::Prompt {
public:
    void showMessage(const std::u16string&) override {}
    bool askYesNo(const std::u16string&) override { return false; }
};

}  // namespace quillmar::testing
