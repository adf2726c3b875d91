#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "config/ConfigStore.h"
#include "platform/Prompt.h"
#include "profiles/ProfileFile.h"

namespace quillmar::profiles::testing {

// A folder of its own under the system's temporary folder, removed at the end.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("quillmar-profiles-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& path() const { return path_; }

    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

private:
    std::filesystem::path path_;
};

// Keeps every message shown, in order.
class RecordingPrompt final : public platform::Prompt {
public:
    void showMessage(const std::u16string& text) override { messages.push_back(text); }
    bool askYesNo(const std::u16string& text) override {
        messages.push_back(text);
        return false;
    }
    std::vector<std::u16string> messages;
};

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline config::MacroRecord sampleMacro(std::uint16_t id, const std::u16string& name, int actions) {
    config::MacroRecord macro{};
    config::setMacroName(macro, name);
    macro.loopCount = 2;
    macro.playMode = 1;
    macro.id = id;
    for (int n = 0; n < actions; ++n) {
        config::appendMacroAction(macro, {static_cast<std::uint32_t>(10 + n), 0x1E,
                                          n % 2 ? config::KeyDirection::Release : config::KeyDirection::Press});
    }
    return macro;
}

// A configuration that uses every part of the file: assignments in several
// profile slots, two macros and one text of each kind.
inline void fillSampleConfiguration(config::ConfigStore& store) {
    using keyboard::AssignmentType;
    installDefaultConfiguration(store);
    auto held = store.lock();
    auto records = store.records();
    records[0x1E] = {AssignmentType::Key, 0, 0x02A, 1, 0};
    records[512 + 0x20] = {AssignmentType::PlayMacro, 2, 9, 0, 0};
    records[1024 + 0x101] = {AssignmentType::Media, 0x0302, 6, 0, 0};
    records[40] = {AssignmentType::TextBlock, 0, 0, 0, 0};
    records[1500] = {AssignmentType::LaunchProgram, 0, 0, 0, 0};
    store.texts().setText(40, u"hello");
    store.texts().setText(1500, u"/usr/bin/game");
    store.replaceMacros({sampleMacro(9, u"Combo", 6), sampleMacro(3, u"Dash", 2)});
}

}  // namespace quillmar::profiles::testing
