#include "profiles/StaleTemporaries.h"

#include "platform/IniUserSettings.h"
#include "profiles/UserFolder.h"
#include "text/AtomicFile.h"

namespace quillmar::profiles {

std::size_t removeStaleSaveTemporaries(const platform::Paths& paths) {
    // The settings file shares its folder with other programs' files.
    return text::removeStaleTemporaries(UserFolder(paths).path()) +
           text::removeStaleTemporariesOf(platform::IniUserSettings(paths).file());
}

}  // namespace quillmar::profiles
