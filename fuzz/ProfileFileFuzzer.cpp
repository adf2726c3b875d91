// Feeds arbitrary bytes to the import check and to the loader as a file. A
// file the check accepts must load, give the keyboard images a download
// builds without trouble, and be accepted again once the program has written
// it back.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/AssignmentBlock.h"
#include "config/ConfigStore.h"
#include "config/KeyBlockImage.h"
#include "config/MacroArea.h"
#include "device/DeviceCommands.h"
#include "platform/Prompt.h"
#include "text/Texts.h"
#include "profiles/ProfileFile.h"

namespace {

class SilentPrompt final : public quillmar::platform::Prompt {
public:
    void showMessage(const std::u16string&) override {}
    bool askYesNo(const std::u16string&) override { return false; }
};

// The file each input is written to, removed when the fuzzer ends.
struct InputFile {
    std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("quillmar-fuzz-" + std::to_string(::getpid()) + ".kbp");
    InputFile() = default;
    explicit InputFile(std::filesystem::path at) : path(std::move(at)) {}
    ~InputFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

const std::filesystem::path& inputPath() {
    static const InputFile file;
    return file.path;
}

// What a download of all three profiles builds from the configuration.
void buildDownloadImages(const quillmar::config::ConfigStore& store) {
    using namespace quillmar;
    auto held = store.lock();
    config::buildMacroArea(store.macros(), true);
    const auto macroPositionOf = [&store](std::uint32_t id) { return store.findMacroIndexById(id); };
    for (int profile = 0; profile < device::kProfileCount; ++profile) {
        const auto records =
            store.records().subspan(config::assignmentRecordIndex(profile, 0)).first<keyboard::kSlotsPerProfile>();
        config::buildKeyBlock(records, keyboard::kBuiltInDefaultKeyTable, macroPositionOf);
    }
}

const std::filesystem::path& writtenBackPath() {
    static const InputFile file{std::filesystem::temp_directory_path() /
                                ("quillmar-fuzz-" + std::to_string(::getpid()) + "-back.kbp")};
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillmar;
    {
        std::ofstream file(inputPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SilentPrompt prompt;
    const text::BuiltInTexts texts;
    const int checked = profiles::checkConfigurationFile(inputPath(), prompt, texts);
    config::ConfigStore store;
    const int loaded = profiles::loadConfigurationFile(store, inputPath());
    if (checked != profiles::kCheckPassed) return 0;

    if (loaded != 1) std::abort();
    buildDownloadImages(store);
    if (profiles::writeConfigurationFile(store, writtenBackPath()) != 1 ||
        profiles::checkConfigurationFile(writtenBackPath(), prompt, texts) != profiles::kCheckPassed)
        std::abort();
    return 0;
}
