#include "profiles/ProfileFile.h"

#include <cstdint>
#include <fstream>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "text/AtomicFile.h"
#include "profiles/ProfileFileFormat.h"
#include "profiles/ProfileFileImage.h"

namespace quillmar::profiles {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t kLargestCheckedFile = std::uint64_t{1} << 32;

// The profile file's bytes, replacing the old file only once all are on disk.
int replaceFileAtomically(const fs::path& target, std::span<const std::uint8_t> bytes) {
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return text::writeFileAtomically(target, content) ? 1 : 0;
}

// Up to the first maxBytes bytes of the file; nullopt when it cannot be read.
std::optional<std::vector<std::uint8_t>> readFilePrefix(const fs::path& path, std::uint64_t maxBytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    char chunk[65536];
    while (bytes.size() < maxBytes && file) {
        const std::uint64_t wanted = std::min<std::uint64_t>(sizeof chunk, maxBytes - bytes.size());
        file.read(chunk, static_cast<std::streamsize>(wanted));
        bytes.insert(bytes.end(), chunk, chunk + file.gcount());
    }
    if (file.bad()) return std::nullopt;
    return bytes;
}

// The file's bytes as far as its header's counts reach (and the file goes).
std::optional<std::vector<std::uint8_t>> readConfigurationBytes(const fs::path& path) {
    const auto headerBytes = readFilePrefix(path, kProfileHeaderSize);
    if (!headerBytes || headerBytes->size() < kProfileHeaderSize) return std::nullopt;
    HeaderBytes header{};
    std::copy(headerBytes->begin(), headerBytes->end(), header.begin());
    return readFilePrefix(path, declaredTotalSize(decodeHeader(header)));
}

std::u16string withPath(std::u16string format, const fs::path& path) {
    const auto placeholder = format.find(u"%s");
    if (placeholder != std::u16string::npos) format.replace(placeholder, 2, path.u16string());
    return format;
}

}  // namespace

int writeConfigurationFile(config::ConfigStore& working, const fs::path& path) {
    try {
        const std::vector<std::uint8_t> image = buildProfileFileImage(working);
        return replaceFileAtomically(path, image);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int saveProfileFile(config::ConfigStore& working, const fs::path& profileFilePath) {
    std::error_code error;
    if (!fs::exists(profileFilePath, error)) return 0;
    return writeConfigurationFile(working, profileFilePath);
}

int loadConfigurationFile(config::ConfigStore& working, const fs::path& path) {
    try {
        const auto bytes = readConfigurationBytes(path);
        if (!bytes) return 0;
        std::optional<ProfileFileContent> content = parseProfileFileImage(*bytes);
        if (!content) return 0;
        installProfileFileContent(working, std::move(*content));
        return 1;
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int checkConfigurationFile(const fs::path& path, platform::Prompt& prompt, const text::Texts& texts) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error) return fs::exists(path, error) ? kCheckUnopenable : kCheckFailed;
    if (size < kAssignmentBlockSize || size >= kLargestCheckedFile) return kCheckFailed;

    std::ifstream file(path, std::ios::binary);
    if (!file) return kCheckUnopenable;
    HeaderBytes header{};
    if (!file.read(reinterpret_cast<char*>(header.data()), header.size())) return kCheckFailed;
    if (passesHeaderCheck(header)) return kCheckPassed;

    prompt.showMessage(withPath(
        texts.text("PROFILE_FORMAT_ERROR", u"wrong file format, revert to the default values: \n  %s"), path));
    return kCheckFailed;
}

void installDefaultConfiguration(config::ConfigStore& working) {
    auto held = working.lock();
    working.assignments() = defaultAssignmentBlock();
    working.releaseMacros();
    working.texts().clearAll();
}

int writeDefaultFile(const fs::path& path) {
    const config::AssignmentBlock block = defaultAssignmentBlock();
    return replaceFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(&block), sizeof block));
}

}  // namespace quillmar::profiles
