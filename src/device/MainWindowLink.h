#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace quillmar::device {

// What the device link needs of the main window. Called from library and
// worker threads, never from the window thread; the implementation marshals
// to the window thread.
class MainWindowLink {
public:
    virtual ~MainWindowLink() = default;

    // Delivers a custom message and returns once the window has handled it.
    // Once the window is shutting down it must return without delivering.
    virtual void sendMessage(std::uint32_t message, std::uint32_t wParam,
                             std::uint32_t lParam) = 0;
    virtual void postMessage(std::uint32_t message, std::uint32_t wParam,
                             std::uint32_t lParam) = 0;
    // True once the window has handled its "INIT" message.
    virtual bool isInitialised() const = 0;
    virtual void setTrayIcon(int iconId) = 0;
    virtual void hide() = 0;
    virtual void setButtonText(int controlId, const std::u16string& text) = 0;
    // The five image states of a skinned button, each cut from the named skin
    // picture (a path relative to the program directory) at the button's place.
    virtual void setButtonStateImages(int controlId,
                                      const std::array<std::string, 5>& pictures) = 0;
    virtual void startTimer(int timerId, int periodMs) = 0;
};

}  // namespace quillmar::device
