#include "hidlane/sim/SimStateFile.h"

#include <sys/stat.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <system_error>

#include "hidlane/sim/SimEnvironment.h"

namespace quillmar::sim {
namespace {

constexpr std::array<std::uint8_t, 4> kMagic = {'Q', 'S', 'I', 'M'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderBytes = 8;
constexpr std::size_t kFixedAreasBytes =
    kDeviceInfoBytes + kSettingsBytes + kKeyBlocksBytes + kKeyBlockBytes + kKeyColoursBytes;
constexpr std::size_t kMaxStateBytes = 1 << 20;

// Areas in file order; the macro area comes last because its size depends on the first.
constexpr std::array kFileOrder = {SimArea::DeviceInfo,    SimArea::Settings,
                                   SimArea::KeyBlocks,     SimArea::DefaultLayout,
                                   SimArea::KeyColours,    SimArea::MacroArea};

}  // namespace

std::filesystem::path simStatePath() {
    if (auto explicitPath = environmentPath("QUILLMAR_SIM_STATE"); !explicitPath.empty()) return explicitPath;
    const std::filesystem::path relative = std::filesystem::path("quillmar") / "sim-keyboard.bin";
    if (auto stateHome = environmentPath("XDG_STATE_HOME"); !stateHome.empty()) return stateHome / relative;
    if (auto home = environmentPath("HOME"); !home.empty()) return home / ".local" / "state" / relative;
    return {};
}

std::vector<std::uint8_t> serializeSimState(const SimMemory& memory) {
    std::vector<std::uint8_t> bytes(kMagic.begin(), kMagic.end());
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<std::uint8_t>(kVersion >> shift));
    for (SimArea area : kFileOrder) {
        const auto content = memory.area(area);
        bytes.insert(bytes.end(), content.begin(), content.end());
    }
    return bytes;
}

std::optional<SimMemory> parseSimState(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderBytes + kFixedAreasBytes) return std::nullopt;
    if (!std::equal(kMagic.begin(), kMagic.end(), bytes.begin())) return std::nullopt;
    const std::uint32_t version = bytes[4] | (bytes[5] << 8) | (bytes[6] << 16) |
                                  (static_cast<std::uint32_t>(bytes[7]) << 24);
    if (version != kVersion) return std::nullopt;

    SimMemory memory;
    const std::uint8_t macroUnits = bytes[kHeaderBytes + kMacroUnitsByte];
    if (bytes.size() != kHeaderBytes + kFixedAreasBytes + macroUnits * kMacroUnitBytes) return std::nullopt;
    memory.deviceInfo[kMacroUnitsByte] = macroUnits;
    memory.fitMacroAreaToDeviceInfo();

    auto next = bytes.begin() + kHeaderBytes;
    for (SimArea area : kFileOrder) {
        auto target = memory.area(area);
        std::copy_n(next, target.size(), target.begin());
        next += static_cast<std::ptrdiff_t>(target.size());
    }
    return memory;
}

std::optional<SimStateStamp> simStateStamp(const std::filesystem::path& path) {
    struct stat status {};
    if (path.empty() || ::stat(path.c_str(), &status) != 0) return std::nullopt;
    return SimStateStamp{status.st_dev, status.st_ino, static_cast<std::uintmax_t>(status.st_size),
                         static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

std::optional<SimMemory> loadSimState(const std::filesystem::path& path) {
    if (path.empty()) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char chunk[4096];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.insert(bytes.end(), chunk, chunk + in.gcount());
        if (bytes.size() > kMaxStateBytes) return std::nullopt;
    }
    return parseSimState(bytes);
}

bool saveSimState(const std::filesystem::path& path, const SimMemory& memory) {
    if (path.empty()) return false;
    std::error_code error;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), error);
    if (error) return false;

    std::filesystem::path temporary = path;
    temporary += ".tmp." + std::to_string(::getpid());
    const auto bytes = serializeSimState(memory);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (!error) return true;
    std::filesystem::remove(temporary, error);
    return false;
}

}  // namespace quillmar::sim
