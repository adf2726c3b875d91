#include "platform/StartupArbitration.h"

namespace quillmar::platform {

StartupOutcome ArbitrateStartup(const StartOptions& options, const ApplicationPaths& paths,
                                StartupSeams seams) {
    StartupOutcome outcome;
    outcome.autoShowDone = options.startHidden;
    // A "/Kill" start never brings up a window of its own, whether or not an
    // instance was there to close.
    if (options.kill) {
        seams.signal.SignalRunningInstance(InstanceRequest::Close);
        outcome.goOn = false;
        return outcome;
    }
    if (!seams.mutex.open()) {
        seams.mutex.create();
    } else if (seams.signal.SignalRunningInstance(InstanceRequest::Show) != 0) {
        outcome.goOn = false;
        return outcome;
    }
    outcome.companionStarted = seams.companion.start(paths.companionDaemon);
    return outcome;
}

}  // namespace quillmar::platform
