#include "config/DeviceImageDownload.h"

#include "device/KeyboardLock.h"

#include <algorithm>
#include <new>
#include <vector>

#include "config/AssignmentBlockHeader.h"
#include "config/AssignmentTextPacking.h"
#include "config/KeyBlockImage.h"
#include "config/MacroArea.h"
#include "config/PieceWrites.h"
#include "device/DeviceLink.h"
#include "device/DeviceReport.h"
#include "device/ResultCode.h"
#include "text/SlotText.h"
#include "text/TextSlots.h"

namespace quillmar::config {
namespace {

void showText(const DownloadTarget& target, text::TextSlot slot) {
    target.prompt.showMessage(text::slotText(target.texts, slot));
}

std::u16string withNumber(std::u16string text, int number) {
    const auto at = text.find(u"%d");
    if (at == std::u16string::npos) return text;
    const std::string digits = std::to_string(number);
    return text.replace(at, 2, std::u16string(digits.begin(), digits.end()));
}

// Names the area the keyboard did not keep as written.
std::u16string mismatchText(const DownloadTarget& target, const AreaWrite& write) {
    if (write.profile < 0) return text::slotText(target.texts, text::TextSlot::DOWNLOAD_VERIFY_MACROS);
    return withNumber(text::slotText(target.texts, text::TextSlot::DOWNLOAD_VERIFY_KEYS), write.profile + 1);
}

std::vector<int> profilesToWrite(DownloadScope scope, device::DeviceCommands& commands) {
    if (scope == DownloadScope::AllProfiles) return {0, 1, 2};
    const int active = commands.GetActiveProfile();
    if (active < 0 || active >= device::kProfileCount) return {};
    return {active};
}

struct ProfileBlock {
    int profile = 0;
    KeyBlockBytes bytes{};
};

std::vector<ProfileBlock> buildProfileBlocks(const ConfigStore& snapshot, const std::vector<int>& profiles,
                                             const keyboard::DefaultKeyTable& defaults) {
    const auto macroPositionOf = [&snapshot](std::uint32_t id) { return snapshot.findMacroIndexById(id); };
    std::vector<ProfileBlock> blocks;
    for (const int profile : profiles) {
        const auto records = snapshot.records().subspan(assignmentRecordIndex(profile, 0)).first<keyboard::kSlotsPerProfile>();
        blocks.push_back({profile, buildKeyBlock(records, defaults, macroPositionOf)});
    }
    return blocks;
}

int piecesOf(std::size_t bytes) {
    return static_cast<int>((bytes + device::DeviceReport::kMaxData - 1) / device::DeviceReport::kMaxData);
}

// BeginUpdate, the macro area's pieces, each block's pieces, EndUpdate.
int commandsOf(const std::vector<std::uint8_t>& macroArea, const std::vector<ProfileBlock>& blocks) {
    return 2 + piecesOf(macroArea.size()) + static_cast<int>(blocks.size()) * piecesOf(device::kKeyBlockBytes);
}

// The bracket and the pieces written, and as many verifying reads.
int commandsOf(const std::vector<AreaWrite>& writes, bool verify) {
    const int pieces = static_cast<int>(pieceCount(writes));
    if (pieces == 0) return 0;
    return 2 + pieces * (verify ? 2 : 1);
}

// Counts the commands of one download for its progress, while it holds the keyboard.
class DownloadProgress {
public:
    DownloadProgress(device::DeviceCommands& commands, const DownloadTarget& target, int total)
        : commands_(commands) {
        if (!target.progress) return;
        commands_.setExchangeObserver([report = target.progress, total, done = 0]() mutable {
            report(std::min(++done, total), total);
        });
        target.progress(0, total);
    }
    ~DownloadProgress() { commands_.setExchangeObserver({}); }
    DownloadProgress(const DownloadProgress&) = delete;
    DownloadProgress& operator=(const DownloadProgress&) = delete;

private:
    device::DeviceCommands& commands_;
};

int sendImage(device::DeviceCommands& commands, const std::vector<std::uint8_t>& macroArea,
              const std::vector<ProfileBlock>& blocks) {
    // The keyboard answers every write on its own; only the key blocks decide
    // whether the download took.
    commands.BeginUpdate();
    commands.WriteMacroArea(macroArea);
    int lastBlockResult = device::kNoKeyboard;
    for (const ProfileBlock& block : blocks) lastBlockResult = commands.WriteProfileKeys(block.profile, block.bytes);
    commands.EndUpdate();
    return lastBlockResult == device::kSuccess ? 1 : 0;
}

// What a download sends: the macro area, then each block in profile order.
std::vector<AreaWrite> areaWritesOf(const std::vector<std::uint8_t>& macroArea, const std::vector<ProfileBlock>& blocks) {
    std::vector<AreaWrite> writes{macroAreaWrite(macroArea)};
    for (const ProfileBlock& block : blocks) writes.push_back(keyBlockWrite(block.profile, block.bytes));
    return writes;
}

void forgetWritten(device::KeyboardMirror& mirror, const std::vector<std::uint8_t>& macroArea,
                   const std::vector<ProfileBlock>& blocks) {
    mirror.forget(device::MirroredArea::MacroArea, 0, macroArea.size());
    for (const ProfileBlock& block : blocks)
        mirror.forget(device::MirroredArea::KeyBlocks, static_cast<std::size_t>(block.profile) * device::kKeyBlockBytes,
                      device::kKeyBlockBytes);
}

struct SentChanges {
    bool taken = false;
    std::vector<std::u16string> mismatches;  // told once the keyboard is free again
};

// Only the pieces the keyboard is not known to hold, or all; read back when
// verifying. Unverified pieces stay unknown: only what was read back is
// known to be on the keyboard.
SentChanges sendChanges(device::DeviceCommands& commands, std::vector<AreaWrite>& writes, const DownloadTarget& target) {
    SentChanges sent;
    if (pieceCount(writes) == 0) {
        sent.taken = true;
        return sent;
    }
    commands.BeginUpdate();
    writePieces(commands, writes);
    commands.EndUpdate();
    sent.taken = std::ranges::all_of(writes, [](const AreaWrite& write) { return write.result == device::kSuccess; });
    if (!target.verifyWrites) return sent;
    const Verification verification = verifyPieces(commands, writes);
    for (const AreaWrite* write : verification.mismatched) sent.mismatches.push_back(mismatchText(target, *write));
    sent.taken = sent.taken && !verification.readFailed && verification.mismatched.empty();
    return sent;
}

// The pieces the settings call for, sent while counting progress.
SentChanges sendCheckedImage(const DownloadTarget& target, const std::vector<std::uint8_t>& macroArea,
                             const std::vector<ProfileBlock>& blocks) {
    std::vector<AreaWrite> writes = areaWritesOf(macroArea, blocks);
    for (AreaWrite& write : writes) leaveOutKnownPieces(write, target.commands.mirror(), target.writeChangesOnly);
    const DownloadProgress progress(target.commands, target, commandsOf(writes, target.verifyWrites));
    return sendChanges(target.commands, writes, target);
}

void copyIntoSnapshot(ConfigStore& working, ConfigStore& snapshot) {
    snapshot.releaseMacros();
    snapshot.texts().clearAll();
    snapshot.assignments() = working.assignments();
    refreshBlockHeader(snapshot.assignments(), working.macroCount(), working.texts().totalBytes());
    snapshot.replaceMacros(MacroList(working.macros()));
    snapshot.texts() = working.texts();
    // The packed texts belong to the profile file, not to the keyboard; only
    // the records' offsets are kept.
    packAssignmentTexts(snapshot.texts(), snapshot.records());
}

}  // namespace

DownloadTarget downloadTargetOf(device::DeviceLink& link, platform::Prompt& prompt, const text::Texts& texts) {
    const int memory = link.presence().macroMemorySize();
    return DownloadTarget{link.commands(), memory > 0 ? static_cast<std::size_t>(memory) : 0,
                          link.presence().defaultKeyTable(), prompt, texts};
}

int downloadImage(ConfigStore& snapshot, DownloadScope scope, const DownloadTarget& target) {
    auto held = snapshot.lock();
    const MacroAreaSizes sizes = macroAreaSizes(snapshot.macros());
    if (sizes.withoutNames > target.macroMemoryBytes) {
        showText(target, text::TextSlot::EXTRA_MACRO_TOO_LONG);
        return 0;
    }
    const bool withNames = sizes.withNames <= target.macroMemoryBytes;

    int result = 0;
    std::vector<std::u16string> mismatches;
    try {
        const std::vector<std::uint8_t> macroArea = buildMacroArea(snapshot.macros(), withNames);
        if (macroArea.empty()) return 0;
        const device::KeyboardLock keyboard;
        const auto blocks = buildProfileBlocks(snapshot, profilesToWrite(scope, target.commands), target.defaultLayout);
        if (!target.verifyWrites && !target.writeChangesOnly) {
            const DownloadProgress progress(target.commands, target, commandsOf(macroArea, blocks));
            forgetWritten(target.commands.mirror(), macroArea, blocks);
            result = sendImage(target.commands, macroArea, blocks);
        } else {
            SentChanges sent = sendCheckedImage(target, macroArea, blocks);
            result = sent.taken && !blocks.empty() ? 1 : 0;
            mismatches = std::move(sent.mismatches);
        }
    } catch (const std::bad_alloc&) {
        return 0;
    }
    for (const std::u16string& mismatch : mismatches) target.prompt.showMessage(mismatch);
    if (!withNames) showText(target, text::TextSlot::EXTRA_PROFILE_SPACE_TIGHT);
    return result;
}

void takeDownloadSettings(DownloadTarget& target, const platform::UserSettings& settings) {
    target.verifyWrites = settings.readNumber(platform::kProfilesSection, platform::kVerifyWritesValueName, 1) != 0;
    target.writeChangesOnly =
        settings.readNumber(platform::kProfilesSection, platform::kWriteChangesOnlyValueName, 1) != 0;
}

int takeDownloadSnapshot(Configuration& configuration, DownloadScope scope, const DownloadTarget& target) {
    BothStoresLock held(configuration);
    try {
        copyIntoSnapshot(configuration.working, configuration.snapshot);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return downloadImage(configuration.snapshot, scope, target);
}

}  // namespace quillmar::config
