#include "config/DeviceImageDownload.h"

#include "device/KeyboardLock.h"

#include <algorithm>
#include <new>
#include <vector>

#include "config/AssignmentBlockHeader.h"
#include "config/AssignmentTextPacking.h"
#include "config/KeyBlockImage.h"
#include "config/MacroArea.h"
#include "device/DeviceLink.h"
#include "device/DeviceReport.h"
#include "device/ResultCode.h"
#include "text/TextSlots.h"

namespace quillmar::config {
namespace {

void showText(const DownloadTarget& target, text::TextSlot slot) {
    const auto& info = text::kTextSlots[static_cast<std::size_t>(slot)];
    target.prompt.showMessage(target.texts.text(info.key, info.builtIn));
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
    try {
        const std::vector<std::uint8_t> macroArea = buildMacroArea(snapshot.macros(), withNames);
        if (macroArea.empty()) return 0;
        const device::KeyboardLock keyboard;
        const auto blocks = buildProfileBlocks(snapshot, profilesToWrite(scope, target.commands), target.defaultLayout);
        const DownloadProgress progress(target.commands, target, commandsOf(macroArea, blocks));
        result = sendImage(target.commands, macroArea, blocks);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!withNames) showText(target, text::TextSlot::EXTRA_PROFILE_SPACE_TIGHT);
    return result;
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
