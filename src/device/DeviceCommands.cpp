#include "device/DeviceCommands.h"

#include "device/ResultCode.h"

#include <algorithm>
#include <thread>
#include <vector>

namespace quillmar::device {
namespace {

constexpr std::size_t kAddressSpace = 0x10000;

bool validProfile(int profile) { return profile >= 0 && profile < kProfileCount; }

std::uint16_t profileBlockBase(int profile) {
    return static_cast<std::uint16_t>(profile * kKeyBlockBytes);
}

}  // namespace

DeviceCommands::DeviceCommands(CommandTransaction& transaction, LinkTiming timing)
    : transaction_(transaction), timing_(timing) {}

int DeviceCommands::exchange(const DeviceReport& request, DeviceReport& answer) {
    answer = DeviceReport{};
    std::size_t delivered = 0;
    const int result = transaction_.RunTransaction(request.bytes, answer.bytes, delivered);
    {
        std::lock_guard lock(observerMutex_);
        if (exchangeObserver_) exchangeObserver_();
    }
    if (result != kSuccess) return result;
    if (answer.status() == DeviceReport::kStatusFailed) return kStatusFailed;
    if (answer.status() == DeviceReport::kStatusRejected) return kStatusRejected;
    return kSuccess;
}

void DeviceCommands::setExchangeObserver(std::function<void()> observer) {
    std::lock_guard lock(observerMutex_);
    exchangeObserver_ = std::move(observer);
}

int DeviceCommands::sendSimple(Command command, std::uint8_t length, std::uint16_t address,
                               std::span<const std::uint8_t> data) {
    auto request = DeviceReport::request(static_cast<std::uint8_t>(command), length, address);
    std::copy(data.begin(), data.end(), request.data().begin());
    request.seal();
    DeviceReport answer;
    return exchange(request, answer);
}

int DeviceCommands::BeginUpdate() { return sendSimple(Command::BeginUpdate, 0, 0); }

int DeviceCommands::EndUpdate() {
    std::this_thread::sleep_for(timing_.endUpdatePause);
    return sendSimple(Command::EndUpdate, 0, 0);
}

int DeviceCommands::ReadDeviceInfo(DeviceInfoBlock info) {
    auto request = DeviceReport::request(static_cast<std::uint8_t>(Command::ReadDeviceInfo),
                                         kDeviceInfoBytes, 0);
    request.seal();
    DeviceReport answer;
    const int result = exchange(request, answer);
    if (result == kSuccess) std::copy_n(answer.data().begin(), info.size(), info.begin());
    return result;
}

int DeviceCommands::WriteDeviceInfo(std::span<const std::uint8_t, kDeviceInfoBytes> info) {
    return sendSimple(Command::WriteDeviceInfo, kDeviceInfoBytes, 0, info);
}

int DeviceCommands::ReadSettings(std::uint16_t address, std::span<std::uint8_t> out) {
    if (out.size() > DeviceReport::kMaxData) return kInvalidRequest;
    auto request = DeviceReport::request(static_cast<std::uint8_t>(Command::ReadSettings),
                                         static_cast<std::uint8_t>(out.size()), address);
    request.seal();
    DeviceReport answer;
    const int result = exchange(request, answer);
    if (result == kSuccess) std::copy_n(answer.data().begin(), out.size(), out.begin());
    return result;
}

int DeviceCommands::WriteSettings(std::uint16_t address, std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || bytes.size() > DeviceReport::kMaxData) return kInvalidRequest;
    return sendSimple(Command::WriteSettings, static_cast<std::uint8_t>(bytes.size()), address,
                      bytes);
}

int DeviceCommands::ReadProfileKeys(int profile, KeyBlock block, const PieceSelection& pieces) {
    if (!validProfile(profile)) return kBadProfile;
    return readPieces(Command::ReadProfileKeys, profileBlockBase(profile), block, pieces);
}

int DeviceCommands::WriteProfileKeys(int profile, std::span<const std::uint8_t, kKeyBlockBytes> block,
                                     const PieceSelection& pieces) {
    if (!validProfile(profile)) return kBadProfile;
    return writePieces(Command::WriteProfileKeys, profileBlockBase(profile), block, pieces);
}

int DeviceCommands::ReadDefaultLayout(KeyBlock layout) {
    return readPieces(Command::ReadDefaultLayout, 0, layout);
}

int DeviceCommands::ReadMacroArea(std::span<std::uint8_t> area, const PieceSelection& pieces) {
    if (area.size() > kAddressSpace) return kInvalidRequest;
    return readPieces(Command::ReadMacroArea, 0, area, pieces);
}

int DeviceCommands::WriteMacroArea(std::span<const std::uint8_t> area, const PieceSelection& pieces) {
    if (area.size() > kAddressSpace) return kInvalidRequest;
    return writePieces(Command::WriteMacroArea, 0, area, pieces);
}

int DeviceCommands::WriteKeyColours(int profile, int firstKey,
                                    std::span<const std::uint8_t> rgb) {
    if (!validProfile(profile)) return kBadProfile;
    const bool fits = firstKey >= 0 && !rgb.empty() && rgb.size() % 3 == 0 &&
                      rgb.size() <= DeviceReport::kMaxData &&
                      firstKey * 3 + rgb.size() <= kKeyColourAreaBytes;
    if (!fits) return kInvalidRequest;
    const auto address = static_cast<std::uint16_t>(profile * kKeyColourAreaBytes + firstKey * 3);
    return sendSimple(Command::WriteKeyColours, static_cast<std::uint8_t>(rgb.size()), address,
                      rgb);
}

// One request buffer serves every piece, as the keyboard has always been
// sent: bytes behind a shorter last piece keep the previous piece's data.
int DeviceCommands::runPieces(Command command, std::uint16_t base, std::size_t size,
                              const PieceSelection& pieces, const PieceStep& fill, const PieceStep& take) {
    auto request = DeviceReport::request(static_cast<std::uint8_t>(command), 0, 0);
    DeviceReport answer;
    for (std::size_t offset = 0; offset < size; offset += DeviceReport::kMaxData) {
        if (pieces && !pieces(offset)) continue;
        const auto length = std::min(DeviceReport::kMaxData, size - offset);
        request.setLength(static_cast<std::uint8_t>(length));
        request.setAddress(static_cast<std::uint16_t>(base + offset));
        fill(request, offset, length);
        request.seal();
        const int result = exchange(request, answer);
        if (result != kSuccess) return result;
        take(answer, offset, length);
    }
    return kSuccess;
}

// Reads into a scratch copy so a failure part-way leaves the caller's data
// as it was.
int DeviceCommands::readPieces(Command command, std::uint16_t base, std::span<std::uint8_t> area,
                               const PieceSelection& pieces) {
    std::vector<std::uint8_t> scratch(area.begin(), area.end());
    const int result = runPieces(
        command, base, area.size(), pieces, [](DeviceReport&, std::size_t, std::size_t) {},
        [&](DeviceReport& answer, std::size_t offset, std::size_t length) {
            std::copy_n(answer.data().begin(), length, scratch.begin() + offset);
        });
    if (result == kSuccess) std::copy(scratch.begin(), scratch.end(), area.begin());
    return result;
}

int DeviceCommands::writePieces(Command command, std::uint16_t base, std::span<const std::uint8_t> area,
                                const PieceSelection& pieces) {
    return runPieces(
        command, base, area.size(), pieces,
        [&](DeviceReport& request, std::size_t offset, std::size_t length) {
            std::copy_n(area.begin() + offset, length, request.data().begin());
        },
        [](DeviceReport&, std::size_t, std::size_t) {});
}

int DeviceCommands::GetActiveProfile() {
    const int cached = activeProfile_.load();
    if (cached >= 0) return cached;
    std::array<std::uint8_t, kDeviceInfoBytes> info{};
    if (ReadDeviceInfo(info) != kSuccess) return -1;
    const int profile = info[kDeviceInfoActiveProfile];
    if (!validProfile(profile)) return -1;
    activeProfile_.store(profile);
    return profile;
}

int DeviceCommands::SetActiveProfile(int profile) {
    if (!validProfile(profile)) return kBadProfile;
    std::array<std::uint8_t, kDeviceInfoBytes> info{};
    const int read = ReadDeviceInfo(info);
    if (read != kSuccess) return read;
    info[kDeviceInfoActiveProfile] = static_cast<std::uint8_t>(profile);
    const int written = WriteDeviceInfo(info);
    activeProfile_.store(written == kSuccess ? profile : -1);
    return written;
}

void DeviceCommands::forgetActiveProfile() { activeProfile_.store(-1); }

}  // namespace quillmar::device
