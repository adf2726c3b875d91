#pragma once

#include <filesystem>

#include "config/ConfigStore.h"
#include "platform/Prompt.h"
#include "text/Texts.h"

namespace quillmar::profiles {

// Reading and writing the binary configuration file. File operations return
// 1 for success and 0 for failure. Every write goes to a temporary file in
// the target's folder that replaces the target only once it is complete, so
// a full disk or a crash leaves the old file as it was.
//
// The functions that touch the working configuration take its lock
// themselves; the lock is recursive, so a caller may already hold it.

// Writes the working configuration to the path (created or replaced). The
// block's header and its text records' offsets are refreshed on the way, as
// the file holds them. 0 when the file cannot be written or memory runs out.
int writeConfigurationFile(config::ConfigStore& working, const std::filesystem::path& path);

// As writeConfigurationFile on the profile file, but only when that file
// already exists; 0 otherwise.
int saveProfileFile(config::ConfigStore& working, const std::filesystem::path& profileFilePath);

// Replaces the working configuration's block, macros and texts by the
// file's, without checking the header; a damaged or short file is read as
// far as it goes (see parseProfileFileImage). 0, and the working
// configuration unchanged, when the file cannot be read, holds less than a
// header, or memory runs out.
int loadConfigurationFile(config::ConfigStore& working, const std::filesystem::path& path);

// Results of checkConfigurationFile.
inline constexpr int kCheckPassed = 1;
inline constexpr int kCheckFailed = 0;       // missing, too short or too long, or a bad header
inline constexpr int kCheckUnopenable = -2;

// The import check: the file exists, holds at least the assignment block,
// is under 4 GiB and its header passes passesHeaderCheck. A bad header is
// reported to the user (PROFILE_FORMAT_ERROR with the path) before 0 is
// returned. Only the header is read.
int checkConfigurationFile(const std::filesystem::path& path, platform::Prompt& prompt,
                           const text::Texts& texts);

// Makes the default configuration the working configuration: default block,
// no macros, no texts.
void installDefaultConfiguration(config::ConfigStore& working);

// Writes the default configuration to the path.
int writeDefaultFile(const std::filesystem::path& path);

}  // namespace quillmar::profiles
