#pragma once

#include <filesystem>

#include "config/ConfigStore.h"
#include "platform/Prompt.h"
#include "text/Texts.h"

namespace quillmar::profiles {

// Export: writes the working configuration, under its lock, to the path the
// user chose. 1 on success, 0 on failure; the user is told nothing either way.
int exportConfiguration(config::ConfigStore& working, const std::filesystem::path& path);

enum class ImportStatus {
    Refused,   // the user was told the import failed; the working configuration is unchanged
    Imported,  // the file is the working configuration now
};

struct ImportResult {
    ImportStatus status = ImportStatus::Refused;
    // The per-user profile file was rewritten with the imported configuration
    // (false when it does not exist yet or could not be written).
    bool profileFileSaved = false;
};

// The file part of an import: checks the chosen file, loads it as the working
// configuration and saves that to the per-user profile file. A file that
// fails the check or cannot be loaded is refused with MAIN_PROMPT_INPORT
// (after PROFILE_FORMAT_ERROR when its header is bad).
//
// On Imported the caller goes on to download all three profiles, refresh the
// key buttons and disable Apply. To do that under the same hold of the
// working configuration's lock, take working.lock() before calling and keep
// it until the buttons are refreshed (the lock is recursive).
ImportResult importConfigurationFile(config::ConfigStore& working, const std::filesystem::path& importPath,
                                     const std::filesystem::path& profileFilePath, platform::Prompt& prompt,
                                     const text::Texts& texts);

}  // namespace quillmar::profiles
