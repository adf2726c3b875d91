#pragma once

#include <cstdint>
#include <span>

namespace quillmar::shell {

// A window's message map: static tables from message number, control or menu
// command id and timer id to the window's member functions. The first
// matching row handles the message.
template <class Window>
struct MessageMap {
    using MessageHandler = void (Window::*)(std::uint32_t wParam, std::uint32_t lParam);
    using CommandHandler = void (Window::*)(int id);
    using TimerHandler = void (Window::*)();

    struct MessageRoute {
        std::uint32_t message;
        bool anyWParam;        // false: only the tag below
        std::uint32_t wParam;  // the four-letter tag the message must carry
        MessageHandler handler;
    };
    struct CommandRoute {
        int firstId;
        int lastId;
        CommandHandler handler;
    };
    struct TimerRoute {
        int timerId;
        TimerHandler handler;
    };

    std::span<const MessageRoute> messages;
    std::span<const CommandRoute> commands;
    std::span<const TimerRoute> timers;

    bool dispatchMessage(Window& window, std::uint32_t message, std::uint32_t wParam, std::uint32_t lParam) const {
        for (const MessageRoute& route : messages) {
            if (route.message != message || (!route.anyWParam && route.wParam != wParam)) continue;
            (window.*route.handler)(wParam, lParam);
            return true;
        }
        return false;
    }

    bool dispatchCommand(Window& window, int id) const {
        for (const CommandRoute& route : commands) {
            if (id < route.firstId || id > route.lastId) continue;
            (window.*route.handler)(id);
            return true;
        }
        return false;
    }

    bool dispatchTimer(Window& window, int timerId) const {
        for (const TimerRoute& route : timers) {
            if (route.timerId != timerId) continue;
            (window.*route.handler)();
            return true;
        }
        return false;
    }
};

}  // namespace quillmar::shell
