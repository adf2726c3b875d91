#include "profiles/Backups.h"

#include "device/KeyboardLock.h"
#include "device/ResultCode.h"
#include "lighting/EffectTable.h"
#include "lighting/LightingWrites.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileImage.h"
#include "text/AtomicFile.h"
#include "text/IniFile.h"
#include "text/SlotText.h"
#include "text/Utf.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <fstream>
#include <iterator>
#include <new>

namespace quillmar::profiles {
namespace {

namespace fs = std::filesystem;

constexpr const char* kProfileFileName = "profile.kbp";
constexpr const char* kLightingFileName = "lighting.bin";
constexpr const char* kDescriptionFileName = "backup.ini";
constexpr const char* kSection = "Backup";
constexpr const char* kHiddenPrefix = ".";
constexpr std::size_t kStampLength = 15;  // "YYYYMMDD-HHMMSS"
constexpr int kLastSequence = 999;
constexpr std::size_t kLightingBytes = device::kProfileCount * lighting::LightingBlock::kBytes;

// Where an entry stands among the others: its time stamp, then how many came
// before it within that second.
struct EntryOrder {
    std::string stamp;
    int sequence = 1;
    auto operator<=>(const EntryOrder&) const = default;
};

bool allDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<EntryOrder> orderOf(std::string_view name) {
    if (name.size() < kStampLength || name[8] != '-') return std::nullopt;
    if (!allDigits(name.substr(0, 8)) || !allDigits(name.substr(9, 6))) return std::nullopt;
    EntryOrder order{std::string(name.substr(0, kStampLength))};
    if (name.size() == kStampLength) return order;
    const std::string_view rest = name.substr(kStampLength);
    if (rest.size() < 2 || rest.size() > 4 || rest[0] != '-' || !allDigits(rest.substr(1))) return std::nullopt;
    std::from_chars(rest.data() + 1, rest.data() + rest.size(), order.sequence);
    if (order.sequence < 2) return std::nullopt;
    return order;
}

std::tm localTimeOf(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    return local;
}

std::string formatTime(const std::tm& local, const char* format) {
    char text[32] = {};
    const std::size_t length = std::strftime(text, sizeof text, format, &local);
    return std::string(text, length);
}

std::optional<std::string> readWholeFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) return std::nullopt;
    return bytes;
}

bool writeBytes(const fs::path& file, const void* data, std::size_t size) {
    return text::writeFileAtomically(file, std::string_view(static_cast<const char*>(data), size));
}

std::string lightingBytes(const LightingRecords& records) {
    std::string bytes;
    for (const auto& record : records) bytes.append(record.begin(), record.end());
    return bytes;
}

// Everything an entry holds, written into its (still hidden) folder.
bool writeEntry(const fs::path& folder, const std::vector<std::uint8_t>& profileImage, const LightingRecords& lighting,
                const UserFolder& userFolder, std::string_view time, std::string_view operation) {
    if (!writeBytes(folder / kProfileFileName, profileImage.data(), profileImage.size())) return false;
    const std::string records = lightingBytes(lighting);
    if (!writeBytes(folder / kLightingFileName, records.data(), records.size())) return false;
    for (int n = 0; n < kColourFileCount; ++n) {
        std::error_code error;
        const fs::path colourFile = userFolder.colourFile(n);
        if (!fs::exists(colourFile, error)) continue;
        const auto bytes = readWholeFile(colourFile);
        if (!bytes || !writeBytes(folder / colourFile.filename(), bytes->data(), bytes->size())) return false;
    }
    std::string description;
    text::writeIniText(description, kSection, "Time", time);
    text::writeIniText(description, kSection, "Operation", operation);
    return writeBytes(folder / kDescriptionFileName, description.data(), description.size());
}

// The time stamp, then "-2", "-3" ... after every entry of that second, so the
// new entry sorts newest even when pruning freed an earlier name.
std::optional<fs::path> freeEntryFolder(const fs::path& backups, const std::string& stamp) {
    int last = 0;
    std::error_code error;
    for (fs::directory_iterator item(backups, error), end; !error && item != end; item.increment(error)) {
        const auto order = orderOf(item->path().filename().string());
        if (order && order->stamp == stamp) last = std::max(last, order->sequence);
    }
    if (error || last >= kLastSequence) return std::nullopt;
    const int sequence = last + 1;
    return backups / (sequence == 1 ? stamp : stamp + "-" + std::to_string(sequence));
}

std::optional<BackupEntry> describedEntry(const fs::directory_entry& item) {
    std::error_code error;
    if (!item.is_directory(error)) return std::nullopt;
    const std::string name = item.path().filename().string();
    if (!orderOf(name)) return std::nullopt;
    const fs::path description = item.path() / kDescriptionFileName;
    BackupEntry entry{name, text::readIniString(description, kSection, "Time", ""),
                      text::readIniString(description, kSection, "Operation", ""), item.path()};
    if (entry.time.empty() || entry.operation.empty()) return std::nullopt;
    return entry;
}

void removeQuietly(const fs::path& path) {
    std::error_code ignored;
    fs::remove_all(path, ignored);
}

// Hidden first, in one step: a removal cut short leaves an unfinished folder
// that is never listed, not a listed entry with half its files.
void removeWhole(const BackupEntry& entry) {
    std::error_code error;
    const fs::path hidden = entry.folder.parent_path() / (kHiddenPrefix + entry.name + ".removing");
    fs::rename(entry.folder, hidden, error);
    removeQuietly(error ? entry.folder : hidden);
}

std::optional<LightingRecords> readLightingFile(const fs::path& file) {
    const auto bytes = readWholeFile(file);
    if (!bytes || bytes->size() != kLightingBytes) return std::nullopt;
    LightingRecords records{};
    auto next = bytes->begin();
    for (auto& record : records) {
        std::copy_n(next, record.size(), record.begin());
        next += static_cast<std::ptrdiff_t>(record.size());
    }
    return records;
}

void tellDamaged(const BackupEntry& entry, platform::Prompt& prompt, const text::Texts& texts) {
    prompt.showMessage(backupText(texts, text::TextSlot::BACKUP_DAMAGED, entry.name));
}

text::TextSlot operationSlot(std::string_view operation) {
    using namespace backup_operation;
    if (operation == kImport) return text::TextSlot::BACKUP_BY_IMPORT;
    if (operation == kRestoreDefaults) return text::TextSlot::BACKUP_BY_RESTORE_DEFAULTS;
    if (operation == kMacroDelete) return text::TextSlot::BACKUP_BY_MACRO_DELETE;
    if (operation == kRestore) return text::TextSlot::BACKUP_BY_RESTORE;
    return text::TextSlot::BACKUP_BY_BACKUP;
}

bool writeLightingRecords(device::DeviceCommands& commands, const LightingRecords& records) {
    lighting::LightingWrites writes;
    for (int profile = 0; profile < device::kProfileCount; ++profile) {
        const auto& record = records[static_cast<std::size_t>(profile)];
        writes.push_back({*lighting::LightingBlock::address(profile, 0), {record.begin(), record.end()}});
    }
    return lighting::WriteLightingBytes(commands, writes) == device::kSuccess;
}

}  // namespace

Backups::Backups(const UserFolder& folder, BackupClock clock)
    : folder_(folder.path() / kBackupsFolderName), userFolder_(folder.path()), clock_(std::move(clock)) {}

std::optional<std::string> Backups::make(const KeyboardReadSource& source, std::string_view operation) const {
    // Held until the entry is in place, so two programs never build one at once
    // and any hidden folder found here belongs to a backup that died.
    const device::KeyboardLock keyboard;
    const auto image = readKeyboardImage(source);
    if (!image) return std::nullopt;
    const auto lighting = readLightingRecords(source.commands);
    if (!lighting) return std::nullopt;

    std::error_code error;
    fs::create_directories(folder_, error);
    if (error) return std::nullopt;
    const std::tm local = localTimeOf(clock_());
    const auto target = freeEntryFolder(folder_, formatTime(local, "%Y%m%d-%H%M%S"));
    if (!target) return std::nullopt;
    const fs::path building = folder_ / (kHiddenPrefix + target->filename().string() + ".building");
    removeQuietly(building);
    if (!fs::create_directory(building, error) || error) return std::nullopt;
    const bool written = writeEntry(building, *image, *lighting, UserFolder(userFolder_),
                                    formatTime(local, "%Y-%m-%d %H:%M:%S"), operation);
    if (written) fs::rename(building, *target, error);
    if (!written || error) {
        removeQuietly(building);
        return std::nullopt;
    }
    prune();
    return target->filename().string();
}

std::vector<BackupEntry> Backups::list() const {
    std::vector<BackupEntry> entries;
    std::error_code error;
    for (fs::directory_iterator item(folder_, error), end; !error && item != end; item.increment(error)) {
        if (auto entry = describedEntry(*item)) entries.push_back(std::move(*entry));
    }
    std::sort(entries.begin(), entries.end(),
              [](const BackupEntry& a, const BackupEntry& b) { return *orderOf(b.name) < *orderOf(a.name); });
    return entries;
}

std::optional<BackupEntry> Backups::find(std::string_view name) const {
    for (BackupEntry& entry : list()) {
        if (entry.name == name) return std::move(entry);
    }
    return std::nullopt;
}

void Backups::prune() const {
    const device::KeyboardLock keyboard;
    const std::vector<BackupEntry> entries = list();
    for (std::size_t i = kBackupsKept; i < entries.size(); ++i) removeWhole(entries[i]);
    std::error_code error;
    std::vector<fs::path> unfinished;
    for (fs::directory_iterator item(folder_, error), end; !error && item != end; item.increment(error)) {
        if (item->path().filename().string().starts_with(kHiddenPrefix)) unfinished.push_back(item->path());
    }
    for (const fs::path& path : unfinished) removeQuietly(path);
}

std::u16string backupDescription(const BackupEntry& entry, const text::Texts& texts) {
    return text::toUtf16(entry.time) + u"  " + text::slotText(texts, operationSlot(entry.operation));
}

std::u16string backupText(const text::Texts& texts, text::TextSlot slot, std::string_view value) {
    std::u16string message = text::slotText(texts, slot);
    if (const auto at = message.find(u"%s"); at != std::u16string::npos)
        message.replace(at, 2, text::toUtf16(value));
    return message;
}

std::optional<LightingRecords> readLightingRecords(device::DeviceCommands& commands) {
    const device::KeyboardLock keyboard;
    LightingRecords records{};
    bool allRead = commands.BeginUpdate() == device::kSuccess;
    for (int profile = 0; allRead && profile < device::kProfileCount; ++profile) {
        allRead = commands.ReadSettings(*lighting::LightingBlock::address(profile, 0),
                                        records[static_cast<std::size_t>(profile)]) == device::kSuccess;
    }
    commands.EndUpdate();
    if (!allRead) return std::nullopt;
    return records;
}

std::optional<BackupContent> loadBackupForRestore(const BackupEntry& entry, platform::Prompt& prompt,
                                                  const text::Texts& texts) {
    const fs::path profileFile = entry.folder / kProfileFileName;
    const bool passed = checkConfigurationFile(profileFile, prompt, texts) == kCheckPassed;
    const auto image = passed ? readWholeFile(profileFile) : std::nullopt;
    const auto lighting = readLightingFile(entry.folder / kLightingFileName);
    if (!image || !lighting) {
        tellDamaged(entry, prompt, texts);
        return std::nullopt;
    }
    BackupContent content{{image->begin(), image->end()}, *lighting, {}};
    const UserFolder copies(entry.folder);
    for (int n = 0; n < kColourFileCount; ++n) {
        std::error_code error;
        if (!fs::exists(copies.colourFile(n), error)) continue;
        auto bytes = readWholeFile(copies.colourFile(n));
        if (!bytes) {
            tellDamaged(entry, prompt, texts);
            return std::nullopt;
        }
        content.colourFiles.emplace_back(n, std::move(*bytes));
    }
    return content;
}

bool installBackupConfiguration(config::ConfigStore& working, const BackupContent& content,
                                const std::filesystem::path& profileFilePath) {
    try {
        std::optional<ProfileFileContent> parsed = parseProfileFileImage(content.profileImage);
        if (!parsed) return false;
        auto held = working.lock();
        installProfileFileContent(working, std::move(*parsed));
        saveProfileFile(working, profileFilePath);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool restoreColourFiles(const BackupContent& content, const UserFolder& folder) {
    bool allWritten = true;
    for (const auto& [n, bytes] : content.colourFiles)
        allWritten = writeBytes(folder.colourFile(n), bytes.data(), bytes.size()) && allWritten;
    return allWritten;
}

bool restoreToKeyboard(config::Configuration& configuration, const LightingRecords& lighting,
                       const config::DownloadTarget& target, lighting::KeyColours& keyColours) {
    // The stores' locks come before the keyboard's, in the order every download takes them.
    const config::BothStoresLock stores(configuration);
    const device::KeyboardLock keyboard;
    if (config::takeDownloadSnapshot(configuration, config::DownloadScope::AllProfiles, target) != 1) return false;
    if (!writeLightingRecords(target.commands, lighting)) return false;
    const int active = target.commands.GetActiveProfile();
    if (!lighting::LightingBlock::validProfile(active)) return false;
    const auto& record = lighting[static_cast<std::size_t>(active)];
    if (record[lighting::LightingBlock::kEffect] != lighting::kPerKeyColourEffect) return true;
    return keyColours.ApplyColourScheme(active) == device::kSuccess;
}

}  // namespace quillmar::profiles
