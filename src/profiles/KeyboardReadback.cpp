#include "profiles/KeyboardReadback.h"

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <string_view>
#include <vector>

#include "config/KeyBlockImage.h"
#include "config/LittleEndian.h"
#include "config/MacroArea.h"
#include "config/MacroAreaDecoder.h"
#include "device/KeyboardLock.h"
#include "device/ResultCode.h"
#include "text/AtomicFile.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileFileFormat.h"
#include "profiles/ProfileFileImage.h"

namespace quillmar::profiles {
namespace {

constexpr int kReadSteps = device::kProfileCount + 2;  // three key blocks, the area's header, the area

void report(const ReadProgress& progress, int done) {
    if (progress) progress(done, kReadSteps);
}

// The keyboard's key blocks decoded into profile slots 0 to 2 of a fresh
// block; nullopt when a block cannot be read.
std::optional<config::AssignmentBlock> readKeyBlocks(const KeyboardReadSource& source, const ReadProgress& progress) {
    config::AssignmentBlock block = defaultAssignmentBlock();
    for (int profile = 0; profile < device::kProfileCount; ++profile) {
        std::array<std::uint8_t, device::kKeyBlockBytes> bytes{};
        if (source.commands.ReadProfileKeys(profile, bytes) != device::kSuccess) return std::nullopt;
        source.commands.mirror().remember(device::MirroredArea::KeyBlocks,
                                            static_cast<std::size_t>(profile) * device::kKeyBlockBytes, bytes);
        const auto records = std::span(block.records)
                                 .subspan(static_cast<std::size_t>(config::assignmentRecordIndex(profile, 0)))
                                 .first<keyboard::kSlotsPerProfile>();
        config::decodeKeyBlock(records, bytes, source.defaultLayout);
        report(progress, profile + 1);
    }
    return block;
}

// The keyboard's macros; none when its area does not start with the magic,
// nullopt when a read fails.
std::optional<config::MacroList> readMacros(const KeyboardReadSource& source, const ReadProgress& progress) {
    std::vector<std::uint8_t> area(config::kMacroAreaHeaderBytes);
    if (source.commands.ReadMacroArea(area) != device::kSuccess) return std::nullopt;
    report(progress, device::kProfileCount + 1);
    device::KeyboardMirror& mirror = source.commands.mirror();
    mirror.remember(device::MirroredArea::MacroArea, 0, area);
    if (config::loadU16(area, config::macro_area::kMagic) != config::kMacroAreaMagic) {
        report(progress, kReadSteps);
        return config::MacroList{};
    }
    std::size_t totalSize = config::loadU16(area, config::macro_area::kTotalSize);
    if (source.macroMemoryBytes > 0) totalSize = std::min(totalSize, source.macroMemoryBytes);
    area.resize(std::max(totalSize, config::kMacroAreaHeaderBytes));
    if (source.commands.ReadMacroArea(area) != device::kSuccess) return std::nullopt;
    mirror.remember(device::MirroredArea::MacroArea, 0, area);
    report(progress, kReadSteps);
    return config::decodeMacroArea(area, source.texts);
}

std::vector<std::uint8_t> fileImageOf(config::AssignmentBlock&& block, config::MacroList&& macros) {
    config::ConfigStore store;
    store.assignments() = block;
    store.replaceMacros(std::move(macros));
    return buildProfileFileImage(store);
}

bool installImage(config::ConfigStore& working, const std::vector<std::uint8_t>& image) {
    try {
        std::optional<ProfileFileContent> content = parseProfileFileImage(image);
        if (!content) return false;
        installProfileFileContent(working, std::move(*content));
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool writeImage(const std::filesystem::path& path, const std::vector<std::uint8_t>& image) {
    const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size());
    return text::writeFileAtomically(path, bytes);
}

}  // namespace

KeyboardReadSource readSourceOf(device::DeviceLink& link, const text::Texts& texts) {
    const int macroMemory = link.presence().macroMemorySize();
    return {link.commands(), link.presence().defaultKeyTable(), texts,
            macroMemory > 0 ? static_cast<std::size_t>(macroMemory) : 0};
}

std::optional<std::vector<std::uint8_t>> readKeyboardImage(const KeyboardReadSource& source,
                                                           const ReadProgress& progress) {
    const device::KeyboardLock keyboard;
    // What is read now replaces whatever was known of the keyboard.
    source.commands.mirror().forget();
    if (source.commands.GetActiveProfile() < 0) return std::nullopt;
    try {
        std::optional<config::AssignmentBlock> block = readKeyBlocks(source, progress);
        if (!block) return std::nullopt;
        std::optional<config::MacroList> macros = readMacros(source, progress);
        if (!macros) return std::nullopt;
        return fileImageOf(std::move(*block), std::move(*macros));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

int readKeyboardIntoFile(const KeyboardReadSource& source, const std::filesystem::path& path,
                         const ReadProgress& progress) {
    const auto image = readKeyboardImage(source, progress);
    return image && writeImage(path, *image) ? 1 : 0;
}

RefreshResult refreshFromKeyboard(config::ConfigStore& working, const UserFolder& folder,
                                  const KeyboardReadSource& source, bool keepApply,
                                  const std::function<void()>& redrawKeyButtons,
                                  const std::function<void()>& prepareColourFiles, const ReadProgress& progress) {
    folder.ensureUserFolder(prepareColourFiles);
    const auto image = readKeyboardImage(source, progress);

    RefreshResult result{false, !keepApply, false};
    result.fileWritten = image && writeImage(folder.profileFile(), *image);
    auto held = working.lock();
    result.fromKeyboard = image && installImage(working, *image);
    if (!result.fromKeyboard) installDefaultConfiguration(working);
    if (redrawKeyButtons) redrawKeyButtons();
    return result;
}

}  // namespace quillmar::profiles
