#include "profiles/SettingsFileText.h"

#include "profiles/Utf.h"

#include <fstream>
#include <iterator>
#include <string_view>

namespace quillmar::profiles {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";

std::optional<std::string> readBytes(const std::filesystem::path& file) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) return std::string();
    if (error || status.type() != std::filesystem::file_type::regular) return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > kMaxSettingsFileSize) return std::nullopt;
    std::ifstream in(file, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes(std::istreambuf_iterator<char>(in), {});
    if (in.bad() || bytes.size() > kMaxSettingsFileSize) return std::nullopt;
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

}  // namespace quillmar::profiles
