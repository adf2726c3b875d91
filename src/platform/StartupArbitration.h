#pragma once

#include "platform/ApplicationPaths.h"
#include "platform/CompanionStarter.h"
#include "platform/InstanceChannel.h"
#include "platform/InstanceMutex.h"
#include "platform/StartOptions.h"

namespace quillmar::platform {

struct StartupSeams {
    InstanceMutex& mutex;
    InstanceSignal& signal;  // finds the running window by its socket, never by a process name
    CompanionStarter& companion;
};

struct StartupOutcome {
    bool goOn = true;            // false: end the process with code 0
    bool companionStarted = false;
    bool autoShowDone = false;   // "/Start" was given
};

// Settles the single instance as the main window is constructed: "/Kill"
// closes a running instance and ends; a second start shows the first
// instance's window and ends; the first start holds the mutex and starts the
// companion program.
StartupOutcome ArbitrateStartup(const StartOptions& options, const ApplicationPaths& paths,
                                StartupSeams seams);

}  // namespace quillmar::platform
