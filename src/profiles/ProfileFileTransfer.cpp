#include "profiles/ProfileFileTransfer.h"

#include "profiles/ProfileFile.h"

namespace quillmar::profiles {
namespace {

ImportResult refuseImport(platform::Prompt& prompt, const text::Texts& texts) {
    prompt.showMessage(texts.text("MAIN_PROMPT_INPORT", u"File format error, import failed! "));
    return {};
}

}  // namespace

int exportConfiguration(config::ConfigStore& working, const std::filesystem::path& path) {
    auto held = working.lock();
    return writeConfigurationFile(working, path);
}

ImportResult importConfigurationFile(config::ConfigStore& working, const std::filesystem::path& importPath,
                                     const std::filesystem::path& profileFilePath, platform::Prompt& prompt,
                                     const text::Texts& texts) {
    if (checkConfigurationFile(importPath, prompt, texts) != kCheckPassed) return refuseImport(prompt, texts);
    {
        auto held = working.lock();
        if (loadConfigurationFile(working, importPath) == 1) {
            return {ImportStatus::Imported, saveProfileFile(working, profileFilePath) == 1};
        }
    }
    return refuseImport(prompt, texts);
}

}  // namespace quillmar::profiles
