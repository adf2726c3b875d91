// Encoding the key blocks of all three profiles, as a full download does:
// every one of the 126 positions, its key's record, its entry.

#include "keyboard/DefaultKeyTable.h"
#include "keyboard/KeyAssignment.h"
#include "keyboard/KeyEntryCodec.h"
#include "keyboard/KeySelectionList.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

namespace {

using namespace quillmar::keyboard;

constexpr int kProfiles = 3;

// Profiles with every kind of assignment spread over the keys.
std::array<KeyAssignment, kProfiles * kSlotsPerProfile> sampleProfiles() {
    std::array<KeyAssignment, kProfiles * kSlotsPerProfile> records{};
    for (int i = 0; i < static_cast<int>(records.size()); ++i) {
        KeyAssignment& record = records[i];
        switch (i % 7) {
        case 0: break;
        case 1: record = {AssignmentType::Key, 0, kKeySelectionList[i % kKeySelectionList.size()], 0, 0}; break;
        case 2: record = {AssignmentType::Key, 0, 0x02A, 0, 0}; break;
        case 3: record = {AssignmentType::PlayMacro, 1, static_cast<std::uint32_t>(i % 100 + 1), 0, 0}; break;
        case 4: record = {AssignmentType::Media, 0, static_cast<std::uint32_t>(i % 18), 0, 0}; break;
        case 5: record = {AssignmentType::Function, 0, static_cast<std::uint32_t>(i % 11), 0, 0}; break;
        default: record = {AssignmentType::Disabled, 0, 0, 0, 0}; break;
        }
    }
    return records;
}

void BM_EncodeThreeProfileKeyBlocks(benchmark::State& state) {
    const auto records = sampleProfiles();
    const MacroPositionLookup macroPositionOf = [](std::uint32_t id) { return static_cast<int>(id) - 1; };
    std::array<std::uint8_t, kProfiles * kKeyBlockBytes> blocks{};
    for (auto _ : state) {
        for (int profile = 0; profile < kProfiles; ++profile) {
            for (int position = 0; position < kKeyPositions; ++position) {
                const DeviceKeyEntry defaultEntry = entryAt(kBuiltInDefaultKeyTable, position);
                DeviceKeyEntry entry = defaultEntry;
                if (const KeyCode key = keyOfPosition(defaultEntry))
                    entry = encodeKeyEntry(records[profile * kSlotsPerProfile + keyIndexOf(key)], defaultEntry,
                                           macroPositionOf);
                const std::size_t at = profile * kKeyBlockBytes + position * 3;
                blocks[at] = entry.kind;
                blocks[at + 1] = entry.byte1;
                blocks[at + 2] = entry.byte2;
            }
        }
        benchmark::DoNotOptimize(blocks.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kProfiles * kKeyPositions);
}
BENCHMARK(BM_EncodeThreeProfileKeyBlocks);

}  // namespace
