#pragma once

#include "ConsolePrompt.h"
#include "ConsoleWindow.h"
#include "device/DeviceLink.h"
#include "device/HidService.h"
#include "text/Texts.h"

#include <memory>
#include <string>

namespace quillmar::ctl {

// The keyboard taken up as the program does on its arrival: the library is
// loaded and started, the standing reads registered, and the arrival work
// (default layout, macro memory) done before any command acts.
class KeyboardSession {
public:
    // The library: "sim", a path, or empty for QUILLMAR_HIDLANE / the default.
    // On failure returns nothing and says why in error.
    static std::unique_ptr<KeyboardSession> open(const std::string& device,
                                                 ConsoleWindow::MessageHandler onMessage,
                                                 std::string& error);
    ~KeyboardSession();

    device::DeviceLink& link() { return *link_; }
    device::DeviceCommands& commands() { return link_->commands(); }
    device::DevicePresence& presence() { return link_->presence(); }
    const text::Texts& texts() const { return texts_; }
    platform::Prompt& prompt() { return prompt_; }

private:
    explicit KeyboardSession(const device::HidService& service);

    device::HidService service_;
    ConsoleWindow window_;
    ConsolePrompt prompt_;
    text::BuiltInTexts texts_;
    std::unique_ptr<device::DeviceLink> link_;
};

}  // namespace quillmar::ctl
