#pragma once

#include <QEvent>

#include <cstdint>

class QObject;

namespace quillmar::shell {

// A custom window message (message number, wParam, lParam) as a Qt event. A
// posted message is queued to its window and reaches the window's event()
// on the window thread, where the window routes it through its message map.
class WindowMessageEvent final : public QEvent {
public:
    WindowMessageEvent(std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam);

    static QEvent::Type eventType();

    std::uint32_t message() const { return message_; }
    std::uint32_t wParam() const { return wParam_; }
    std::uint32_t lParam() const { return lParam_; }

private:
    std::uint32_t message_;
    std::uint32_t wParam_;
    std::uint32_t lParam_;
};

// Queues the message for window and returns at once; safe from any thread.
void postWindowMessage(QObject& window, std::uint32_t message, std::uint32_t wParam,
                       std::uint32_t lParam);

}  // namespace quillmar::shell
