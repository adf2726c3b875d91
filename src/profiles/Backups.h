#pragma once

#include "config/Configuration.h"
#include "config/DeviceImageDownload.h"
#include "lighting/KeyColours.h"
#include "lighting/LightingBlock.h"
#include "platform/Prompt.h"
#include "profiles/KeyboardReadback.h"
#include "profiles/UserFolder.h"
#include "text/TextSlots.h"
#include "text/Texts.h"

#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quillmar::profiles {

inline constexpr std::string_view kBackupsFolderName = "Backups";
inline constexpr std::size_t kBackupsKept = 20;

// What made a backup, as its entry records it.
namespace backup_operation {
inline constexpr std::string_view kOnRequest = "backup";
inline constexpr std::string_view kImport = "import";
inline constexpr std::string_view kRestoreDefaults = "restore-defaults";
inline constexpr std::string_view kMacroDelete = "macro-delete";
inline constexpr std::string_view kRestore = "restore";
}  // namespace backup_operation

// One kept configuration: a folder of "Backups" named by its time.
struct BackupEntry {
    std::string name;       // "20261210-170512", or "20261210-170512-2" for a second one that second
    std::string time;       // "2026-12-10 17:05:12", local time
    std::string operation;  // one of backup_operation
    std::filesystem::path folder;
    bool operator==(const BackupEntry&) const = default;
};

using LightingRecords = std::array<lighting::LightingRecord, device::kProfileCount>;

// An entry checked for restore, read whole: the restore's own backup may
// prune the entry away before it is put back.
struct BackupContent {
    std::vector<std::uint8_t> profileImage;  // the three profiles with the macros, as an export writes them
    LightingRecords lighting{};
    std::vector<std::pair<int, std::string>> colourFiles;  // n and the bytes of "UserDengColor_<n>.userd"
};

using BackupClock = std::function<std::chrono::system_clock::time_point()>;

// The folder "Backups" in the per-user folder. An entry is built in a hidden
// folder beside the others and renamed into place in one step, so a crash
// leaves at most a hidden folder, which listing skips and the next backup
// clears away.
class Backups {
public:
    explicit Backups(const UserFolder& folder, BackupClock clock = std::chrono::system_clock::now);

    const std::filesystem::path& path() const { return folder_; }

    // Reads the keyboard's key blocks, macro area and the three lighting
    // records under the keyboard's lock and keeps them, with copies of the
    // colour scheme files, as a new entry; then keeps only the newest
    // kBackupsKept. The entry's name, or nullopt when the keyboard cannot be
    // read or the entry cannot be written (nothing is left behind then).
    std::optional<std::string> make(const KeyboardReadSource& source, std::string_view operation) const;

    // Every complete entry, newest first. Hidden folders, stray files and
    // folders without a readable description are left out.
    std::vector<BackupEntry> list() const;
    std::optional<BackupEntry> find(std::string_view name) const;

    // Removes all but the newest kBackupsKept entries, and the hidden
    // folders of backups that never finished.
    void prune() const;

private:
    std::filesystem::path folder_;
    std::filesystem::path userFolder_;
    BackupClock clock_;
};

// How the window lists an entry: its time, then what made it in the user's
// words ("2026-12-10 17:05:12  before an import").
std::u16string backupDescription(const BackupEntry& entry, const text::Texts& texts);

// A backup text with the entry's name or time where its "%s" is.
std::u16string backupText(const text::Texts& texts, text::TextSlot slot, std::string_view value);

// The three lighting records of the keyboard, in one update bracket; nullopt
// when any cannot be read.
std::optional<LightingRecords> readLightingRecords(device::DeviceCommands& commands);

// Checks an entry as an import checks its file, and its lighting records and
// colour scheme files besides. A damaged entry is told to the user
// (PROFILE_FORMAT_ERROR or the content problem for its profile file, then
// MAIN_BACKUP_DAMAGED) and gives nullopt.
std::optional<BackupContent> loadBackupForRestore(const BackupEntry& entry, platform::Prompt& prompt,
                                                  const text::Texts& texts);

// Makes the entry's profiles and macros the working configuration (texts
// none) and saves it to the per-user profile file when that exists. False,
// with the configuration unchanged, when memory runs out.
bool installBackupConfiguration(config::ConfigStore& working, const BackupContent& content,
                                const std::filesystem::path& profileFilePath);

// Puts the entry's colour scheme files back in the per-user folder, each
// replaced whole. False when one cannot be written.
bool restoreColourFiles(const BackupContent& content, const UserFolder& folder);

// The keyboard's part of a restore, under the keyboard's lock: downloads all
// three profiles from the configuration (whose working store already holds
// the entry's profile file), writes the three lighting records, and, when
// the active profile shows per-key colours, sends that profile's colours
// from its (restored) colour scheme file. False when any step fails.
bool restoreToKeyboard(config::Configuration& configuration, const LightingRecords& lighting,
                       const config::DownloadTarget& target, lighting::KeyColours& keyColours);

}  // namespace quillmar::profiles
