#include "profiles/StaleTemporaries.h"

#include "platform/IniUserSettings.h"
#include "profiles/Backups.h"
#include "profiles/UserFolder.h"
#include "text/AtomicFile.h"

namespace quillmar::profiles {

std::size_t removeStaleSaveTemporaries(const platform::Paths& paths) {
    // The settings file shares its folder with other programs' files.
    const std::size_t removed = text::removeStaleTemporaries(UserFolder(paths).path()) +
                                text::removeStaleTemporariesOf(platform::IniUserSettings(paths).file());
    // Under the keyboard's lock no backup is being built, so an unfinished one was cut short.
    Backups(UserFolder(paths)).prune();
    return removed;
}

}  // namespace quillmar::profiles
