#include "config/ApplyChanges.h"

namespace quillmar::config {

bool applyChanges(bool changesPending, Configuration& configuration, const std::function<int()>& saveProfileFile,
                  const DownloadTarget& target, DownloadScope scope) {
    if (!changesPending) return false;
    auto held = configuration.working.lock();
    // The download runs even when the file could not be written: the keyboard
    // is what the user is waiting for.
    const int saved = saveProfileFile ? saveProfileFile() : 0;
    const int downloaded = takeDownloadSnapshot(configuration, scope, target);
    return saved == 1 && downloaded == 1;
}

}  // namespace quillmar::config
