#pragma once

#include "device/MainWindowLink.h"

#include <cstdint>
#include <functional>

namespace quillmar::ctl {

// The command-line tool has no window: it is initialised from the start, and
// the keyboard's arrival message runs the handler the tool gives it.
class ConsoleWindow final : public device::MainWindowLink {
public:
    using MessageHandler = std::function<void(std::uint32_t message, std::uint32_t wParam)>;

    void setHandler(MessageHandler handler) { handler_ = std::move(handler); }

    void sendMessage(std::uint32_t message, std::uint32_t wParam, std::uint32_t) override {
        if (handler_) handler_(message, wParam);
    }
    void postMessage(std::uint32_t, std::uint32_t, std::uint32_t) override {}
    bool isInitialised() const override { return true; }
    void setTrayIcon(int) override {}
    void hide() override {}
    void setButtonText(int, const std::u16string&) override {}
    void setButtonStateImages(int, const std::array<std::string, 5>&) override {}
    void startTimer(int, int) override {}

private:
    MessageHandler handler_;
};

}  // namespace quillmar::ctl
