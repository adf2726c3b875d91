#include "text/IniDocument.h"

#include "text/AtomicFile.h"
#include "text/DecimalText.h"
#include "text/IniFile.h"

namespace quillmar::text {

IniDocument::IniDocument(std::filesystem::path file, SettingsFileText contents)
    : file_(std::move(file)), contents_(std::move(contents)) {}

std::optional<IniDocument> IniDocument::load(const std::filesystem::path& file) {
    std::optional<SettingsFileText> contents = loadSettingsFileText(file);
    if (!contents) return std::nullopt;
    return IniDocument(file, std::move(*contents));
}

std::string IniDocument::read(std::string_view section, std::string_view key, std::string_view defaultValue) const {
    return readIniText(contents_.text, section, key, defaultValue);
}

int IniDocument::readNumber(std::string_view section, std::string_view key, int defaultValue) const {
    return leadingDecimal(read(section, key, std::to_string(defaultValue)));
}

bool IniDocument::write(std::string_view section, std::string_view key, std::string_view value) {
    return writeIniText(contents_.text, section, key, value);
}

bool IniDocument::writeNumber(std::string_view section, std::string_view key, int value) {
    return write(section, key, std::to_string(value));
}

bool IniDocument::save() const {
    return text::writeFileAtomically(file_, encodeSettingsFileText(contents_));
}

}  // namespace quillmar::text
