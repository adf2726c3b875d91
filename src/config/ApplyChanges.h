#pragma once

#include <functional>

#include "config/Configuration.h"
#include "config/DeviceImageDownload.h"

namespace quillmar::config {

// The main window's Apply, without its busy indicator. With changes pending:
// under the working configuration's lock, saves it with saveProfileFile (1 on
// success) and downloads the active profile. True when both succeeded, so
// that the Apply button is disabled; false leaves the button as it is. All
// three profiles are downloaded when edits moved macros other profiles play.
bool applyChanges(bool changesPending, Configuration& configuration, const std::function<int()>& saveProfileFile,
                  const DownloadTarget& target, DownloadScope scope = DownloadScope::ActiveProfile);

}  // namespace quillmar::config
