#pragma once

#include "text/SettingsFileText.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace quillmar::text {

// A settings file held in memory: loaded once, read and edited with the
// rules of the settings-file module, and stored whole in one atomic
// replacement. A change of many values then costs one write, and a failure
// leaves the file as it was.
class IniDocument {
public:
    // The file's contents (a missing file is an empty document); nothing when
    // it exists but cannot be read.
    static std::optional<IniDocument> load(const std::filesystem::path& file);

    std::string read(std::string_view section, std::string_view key, std::string_view defaultValue) const;
    int readNumber(std::string_view section, std::string_view key, int defaultValue) const;

    // In memory only; false for names or a value that cannot be stored.
    bool write(std::string_view section, std::string_view key, std::string_view value);
    bool writeNumber(std::string_view section, std::string_view key, int value);

    // Replaces the file atomically with the document.
    bool save() const;

private:
    IniDocument(std::filesystem::path file, SettingsFileText contents);

    std::filesystem::path file_;
    SettingsFileText contents_;
};

}  // namespace quillmar::text
