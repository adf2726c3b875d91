#pragma once

#include "platform/InstanceChannel.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

namespace quillmar::platform {

// The main window's end of the instance channel: a local socket named by this
// process's id. Each connection is answered with the "MAIN" tag, then one
// message is read and handed to the handler; anything else a peer sends
// (short, late, unknown messages) is dropped. Drive it from an event loop:
// watch fd() for reading and call acceptOne() when it is ready.
class InstanceListener {
public:
    using Handler = std::function<void(const InstanceMessage&)>;

    // Nothing when the socket cannot be made. A socket file left by an ended
    // process with the same id is replaced.
    static std::unique_ptr<InstanceListener> listen(const std::filesystem::path& runtimeFolder,
                                                    int pid, Handler handler);
    ~InstanceListener();
    InstanceListener(const InstanceListener&) = delete;
    InstanceListener& operator=(const InstanceListener&) = delete;

    int fd() const { return fd_; }
    const std::filesystem::path& socketPath() const { return path_; }

    // Serves one waiting connection; returns at once when none waits. The
    // handler runs before the sender is released and may destroy this
    // listener.
    void acceptOne();

private:
    InstanceListener(int fd, std::filesystem::path path, Handler handler);

    int fd_;
    std::filesystem::path path_;
    std::uint64_t socketFileId_ = 0;  // so only our own file is removed at the end
    Handler handler_;
};

}  // namespace quillmar::platform
