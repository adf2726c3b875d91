#include "text/SettingsFileText.h"

#include "text/Utf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace quillmar::text {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

// One open, one size query, one read: every settings read comes here.
// Reads to the end, reading past an expected size in case the file grew.
std::optional<std::string> readAll(int fd, std::size_t expectedSize) {
    std::string bytes(expectedSize + 1, '\0');
    std::size_t filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            if (bytes.size() > kMaxSettingsFileSize) return std::nullopt;
            bytes.resize(bytes.size() * 2);
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
}

std::optional<std::string> readBytes(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::string();
        return std::nullopt;
    }
    std::optional<std::string> bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::uintmax_t>(info.st_size) <= kMaxSettingsFileSize) {
        bytes = readAll(fd, static_cast<std::size_t>(info.st_size));
    }
    ::close(fd);
    return bytes;
}

std::string utf16LeToUtf8(std::string_view bytes) {
    std::u16string units(bytes.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        units[i] = static_cast<char16_t>(low | (high << 8));
    }
    return toUtf8(units);
}

std::string utf8ToUtf16Le(std::string_view text) {
    const std::u16string units = toUtf16(text);
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const char16_t unit : units) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>(unit >> 8));
    }
    return bytes;
}

}  // namespace

std::optional<SettingsFileText> loadSettingsFileText(const std::filesystem::path& file) {
    std::optional<std::string> bytes = readBytes(file);
    if (!bytes) return std::nullopt;
    const std::string_view view(*bytes);
    if (view.starts_with(kUtf16LeBom)) {
        return SettingsFileText{utf16LeToUtf8(view.substr(kUtf16LeBom.size())),
                                SettingsFileEncoding::Utf16LeWithBom};
    }
    if (view.starts_with(kUtf8Bom)) {
        return SettingsFileText{std::string(view.substr(kUtf8Bom.size())),
                                SettingsFileEncoding::Utf8WithBom};
    }
    return SettingsFileText{std::move(*bytes), SettingsFileEncoding::Utf8};
}

std::string encodeSettingsFileText(const SettingsFileText& contents) {
    switch (contents.encoding) {
        case SettingsFileEncoding::Utf8WithBom:
            return std::string(kUtf8Bom) + contents.text;
        case SettingsFileEncoding::Utf16LeWithBom:
            return std::string(kUtf16LeBom) + utf8ToUtf16Le(contents.text);
        case SettingsFileEncoding::Utf8:
            break;
    }
    return contents.text;
}

}  // namespace quillmar::text
