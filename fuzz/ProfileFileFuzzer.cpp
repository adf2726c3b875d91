// Feeds arbitrary bytes to the import check and to the loader as a file.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "config/ConfigStore.h"
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
    ~InputFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
};

const std::filesystem::path& inputPath() {
    static const InputFile file;
    return file.path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        std::ofstream file(inputPath(), std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    SilentPrompt prompt;
    quillmar::profiles::checkConfigurationFile(inputPath(), prompt, quillmar::text::BuiltInTexts{});
    quillmar::config::ConfigStore store;
    quillmar::profiles::loadConfigurationFile(store, inputPath());
    return 0;
}
