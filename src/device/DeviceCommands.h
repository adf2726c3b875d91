#pragma once

#include "device/CommandTransaction.h"
#include "device/DeviceReport.h"
#include "device/KeyboardMirror.h"
#include "device/LinkTiming.h"
#include "keyboard/DefaultKeyTable.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>

namespace quillmar::device {

inline constexpr int kProfileCount = 3;
inline constexpr std::size_t kDeviceInfoBytes = 44;
inline constexpr std::size_t kDeviceInfoActiveProfile = 10;
inline constexpr std::size_t kDeviceInfoMacroMemory = 11;  // in units of 128 bytes
inline constexpr std::size_t kSettingsRecordBytes = 42;
inline constexpr std::size_t kKeyBlockBytes = keyboard::kKeyBlockBytes;
inline constexpr std::size_t kKeyColourAreaBytes = 512;

enum class Command : std::uint8_t {
    BeginUpdate = 1,
    EndUpdate = 2,
    ReadDeviceInfo = 3,
    WriteDeviceInfo = 4,
    ReadSettings = 5,
    WriteSettings = 6,
    ReadProfileKeys = 7,
    WriteProfileKeys = 8,
    ReadMacroArea = 9,
    WriteMacroArea = 10,
    ReadDefaultLayout = 15,
    WriteKeyColours = 17,
};

using DeviceInfoBlock = std::span<std::uint8_t, kDeviceInfoBytes>;
using KeyBlock = std::span<std::uint8_t, kKeyBlockBytes>;

// Which 56-byte pieces of an area an operation sends, by the piece's offset
// in the area; an empty selection sends them all.
using PieceSelection = std::function<bool(std::size_t offset)>;

// The keyboard's command set: each operation frames its requests, runs them
// as transactions and interprets the answers. Results are the codes of
// ResultCode.h; reads leave the caller's buffer untouched unless they succeed.
class DeviceCommands {
public:
    DeviceCommands(CommandTransaction& transaction, LinkTiming timing = {});

    int BeginUpdate();
    int EndUpdate();  // after a short pause, so the keyboard has taken the last write

    int ReadDeviceInfo(DeviceInfoBlock info);
    int WriteDeviceInfo(std::span<const std::uint8_t, kDeviceInfoBytes> info);

    // count = out.size(), at most 56; copies that many data bytes.
    int ReadSettings(std::uint16_t address, std::span<std::uint8_t> out);
    // 1 to 56 bytes at the given address of the settings records.
    int WriteSettings(std::uint16_t address, std::span<const std::uint8_t> bytes);

    // With a selection only its pieces are read (the rest of the block is
    // left as it was) or written.
    int ReadProfileKeys(int profile, KeyBlock block, const PieceSelection& pieces = {});
    int WriteProfileKeys(int profile, std::span<const std::uint8_t, kKeyBlockBytes> block,
                         const PieceSelection& pieces = {});
    int ReadDefaultLayout(KeyBlock layout);

    // The area's size is the span's size; an empty area sends nothing.
    int ReadMacroArea(std::span<std::uint8_t> area, const PieceSelection& pieces = {});
    int WriteMacroArea(std::span<const std::uint8_t> area, const PieceSelection& pieces = {});

    // Red, green, blue of consecutive keys from firstKey (at most 18 keys).
    int WriteKeyColours(int profile, int firstKey, std::span<const std::uint8_t> rgb);

    // The active profile, from the cache or the device info block; -1 on failure.
    int GetActiveProfile();
    int SetActiveProfile(int profile);
    void forgetActiveProfile();

    // What the keyboard is known to hold; forgotten with the active profile
    // when the keyboard leaves.
    KeyboardMirror& mirror() { return mirror_; }

    // Called after every command exchanged while set (from the exchanging
    // thread); a download that holds the keyboard's lock counts its progress
    // with it. An empty function stops it.
    void setExchangeObserver(std::function<void()> observer);

private:
    int exchange(const DeviceReport& request, DeviceReport& answer);
    int sendSimple(Command command, std::uint8_t length, std::uint16_t address,
                   std::span<const std::uint8_t> data = {});
    // Prepares a piece's request, or takes a piece's answer.
    using PieceStep = std::function<void(DeviceReport&, std::size_t offset, std::size_t length)>;
    int runPieces(Command command, std::uint16_t base, std::size_t size, const PieceSelection& pieces,
                  const PieceStep& fill, const PieceStep& take);
    int readPieces(Command command, std::uint16_t base, std::span<std::uint8_t> area,
                   const PieceSelection& pieces = {});
    int writePieces(Command command, std::uint16_t base, std::span<const std::uint8_t> area,
                    const PieceSelection& pieces = {});

    CommandTransaction& transaction_;
    const LinkTiming timing_;
    std::atomic<int> activeProfile_{-1};
    std::mutex observerMutex_;
    std::function<void()> exchangeObserver_;
    KeyboardMirror mirror_;
};

}  // namespace quillmar::device
