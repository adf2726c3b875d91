#pragma once

#include "config/ConfigStore.h"

namespace quillmar::config {

// The two stores of the process: the working configuration, which the
// editors, loading and saving use, and the download snapshot, a copy of it
// taken just before a download.
struct Configuration {
    ConfigStore working;
    ConfigStore snapshot;
};

// Holds both stores' locks. They are always taken working configuration
// first, snapshot second (and let go in reverse); taking them in any other
// order can deadlock against a holder of this lock.
class BothStoresLock {
public:
    explicit BothStoresLock(Configuration& configuration)
        : working_(configuration.working.lock()), snapshot_(configuration.snapshot.lock()) {}

private:
    StoreLock working_;
    StoreLock snapshot_;
};

}  // namespace quillmar::config
