#include "profiles/ProfileFileImage.h"

#include <algorithm>
#include <bitset>
#include <cstring>

#include "config/AssignmentTextPacking.h"
#include "profiles/ProfileFileFormat.h"

namespace quillmar::profiles {
namespace {

using config::AssignmentBlock;
using config::MacroList;
using config::MacroRecord;
using keyboard::KeyAssignment;

// Copies what the file has of [offset, offset + size) into the destination;
// the rest of the destination stays as it was. True when anything was copied.
bool copyAvailable(std::span<const std::uint8_t> bytes, std::uint64_t offset, void* destination,
                   std::size_t size) {
    if (offset >= bytes.size()) return false;
    const std::size_t available = std::min<std::uint64_t>(size, bytes.size() - offset);
    std::memcpy(destination, bytes.data() + offset, available);
    return true;
}

// Later duplicates and ids outside 1..100 get the smallest free id, so the
// list satisfies the store's rules; keys keep playing the first macro of an id.
void makeIdsUnique(MacroList& macros) {
    std::bitset<config::kLastMacroId + 1> used;
    std::vector<MacroRecord*> needNewId;
    for (MacroRecord& macro : macros) {
        if (macro.id >= config::kFirstMacroId && macro.id <= config::kLastMacroId && !used.test(macro.id)) {
            used.set(macro.id);
        } else {
            needNewId.push_back(&macro);
        }
    }
    std::uint16_t candidate = config::kFirstMacroId;
    for (MacroRecord* macro : needNewId) {
        while (used.test(candidate)) ++candidate;
        macro->id = candidate;
        used.set(candidate);
    }
}

MacroList readMacros(std::span<const std::uint8_t> bytes, const ProfileFileHeader& header) {
    MacroList macros;
    const int count = std::min<int>(header.macroCount, config::kMaxMacros);
    for (int position = 0; position < count; ++position) {
        MacroRecord macro{};
        const std::uint64_t offset = kAssignmentBlockSize + std::uint64_t(position) * kMacroRecordSize;
        if (!copyAvailable(bytes, offset, &macro, sizeof macro)) break;
        config::normaliseMacroRecord(macro);
        macro.unsaved = 0;
        macros.push_back(macro);
    }
    makeIdsUnique(macros);
    return macros;
}

std::u16string readText(std::span<const std::uint8_t> area, std::uint32_t offset) {
    std::u16string text;
    for (std::size_t at = offset & ~1u; at + 1 < area.size() && text.size() < kMaxAssignmentTextLength;
         at += 2) {
        const auto unit = static_cast<char16_t>(area[at] | (area[at + 1] << 8));
        if (unit == u'\0') break;
        text.push_back(unit);
    }
    return text;
}

config::AssignmentTexts readTexts(std::span<const std::uint8_t> bytes, const ProfileFileHeader& header,
                                  const AssignmentBlock& block) {
    const std::uint64_t areaStart = kAssignmentBlockSize + std::uint64_t{header.macroCount} * kMacroRecordSize;
    std::span<const std::uint8_t> area;
    if (areaStart < bytes.size()) {
        area = bytes.subspan(areaStart, std::min<std::uint64_t>(header.textAreaSize, bytes.size() - areaStart));
    }
    config::AssignmentTexts texts;
    for (int index = 0; index < config::kAssignmentRecordCount; ++index) {
        const KeyAssignment& record = block.records[static_cast<std::size_t>(index)];
        if (config::carriesText(record)) texts.setText(index, readText(area, record.value));
    }
    return texts;
}

}  // namespace

std::vector<std::uint8_t> buildProfileFileImage(config::ConfigStore& store) {
    auto held = store.lock();
    const std::vector<std::uint8_t> textArea = config::packAssignmentTexts(store.texts(), store.records());
    const MacroList& macros = store.macros();
    AssignmentBlock& block = store.assignments();
    block.header = encodeHeader(static_cast<std::uint16_t>(macros.size()),
                                static_cast<std::uint32_t>(textArea.size()));

    std::vector<std::uint8_t> image;
    image.reserve(kAssignmentBlockSize + macros.size() * kMacroRecordSize + textArea.size());
    const auto append = [&image](const void* data, std::size_t size) {
        const auto* first = static_cast<const std::uint8_t*>(data);
        image.insert(image.end(), first, first + size);
    };
    append(&block, sizeof block);
    if (!macros.empty()) append(macros.data(), macros.size() * kMacroRecordSize);
    image.insert(image.end(), textArea.begin(), textArea.end());
    return image;
}

std::optional<ProfileFileContent> parseProfileFileImage(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kProfileHeaderSize) return std::nullopt;
    ProfileFileContent content;
    content.block = std::make_unique<AssignmentBlock>();
    copyAvailable(bytes, 0, content.block.get(), kAssignmentBlockSize);
    const ProfileFileHeader header = decodeHeader(content.block->header);
    content.macros = readMacros(bytes, header);
    content.texts = readTexts(bytes, header, *content.block);
    return content;
}

void installProfileFileContent(config::ConfigStore& store, ProfileFileContent&& content) {
    auto held = store.lock();
    store.assignments() = *content.block;
    store.replaceMacros(std::move(content.macros));
    store.texts() = std::move(content.texts);
}

}  // namespace quillmar::profiles
