#pragma once

#include "config/Configuration.h"
#include "platform/ApplicationPaths.h"
#include "platform/Clock.h"
#include "platform/IniUserSettings.h"
#include "platform/InstanceChannel.h"
#include "platform/LinuxPaths.h"
#include "platform/LockFileMutex.h"
#include "platform/NamedEvents.h"
#include "platform/StartOptions.h"
#include "text/StringTable.h"

#include <memory>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

namespace quillmar::platform {
class InstanceListener;
}

namespace quillmar::shell {

class CQuillmarDlg;
class CTrayIcon;

// The application: paths, texts and the configuration's two stores, the
// single instance, and the main window for the life of the process.
class CQuillmarApp {
public:
    explicit CQuillmarApp(std::vector<std::string> arguments);
    ~CQuillmarApp();
    CQuillmarApp(const CQuillmarApp&) = delete;
    CQuillmarApp& operator=(const CQuillmarApp&) = delete;

    // Runs the program; the process's exit code.
    int run();

private:
    // Settles the single instance; false when this process must end.
    bool arbitrateStartup();
    // The window's start; false when the program cannot run.
    bool initialiseWindow();
    void listenForOtherInstances();
    // Hands a request to the window once it can act on it.
    void deliverWhenReady(const platform::InstanceMessage& message);
    void deliverWaitingRequests();
    void shutdown();

    platform::LinuxPaths folders_;
    platform::IniUserSettings settings_;
    platform::ApplicationPaths paths_;
    text::StringTable texts_;
    config::Configuration configuration_;
    platform::SteadyClock clock_;
    platform::StartOptions options_;
    platform::LockFileMutex mutex_;
    platform::NamedEvents events_;
    std::unique_ptr<CQuillmarDlg> window_;
    std::unique_ptr<platform::InstanceListener> listener_;
    std::unique_ptr<QSocketNotifier> listenerNotifier_;
    std::vector<platform::InstanceMessage> waitingRequests_;
    std::unique_ptr<QTimer> waitingRequestsTimer_;
};

}  // namespace quillmar::shell
