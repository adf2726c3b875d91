#include "shell/widgets/WindowMessageEvent.h"

#include <QCoreApplication>

namespace quillmar::shell {

WindowMessageEvent::WindowMessageEvent(std::uint32_t message, std::uint32_t wParam,
                                       std::uint32_t lParam)
    : QEvent(eventType()), message_(message), wParam_(wParam), lParam_(lParam) {}

QEvent::Type WindowMessageEvent::eventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void postWindowMessage(QObject& window, std::uint32_t message, std::uint32_t wParam,
                       std::uint32_t lParam) {
    QCoreApplication::postEvent(&window, new WindowMessageEvent(message, wParam, lParam));
}

}  // namespace quillmar::shell
