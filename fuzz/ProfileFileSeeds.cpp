// Writes starting inputs for profile_file_fuzzer into the folder given as the
// only argument: the default file and a file using macros and both text kinds.
#include <cstdio>
#include <filesystem>

#include "config/ConfigStore.h"
#include "profiles/ProfileFile.h"

int main(int argc, char** argv) {
    using namespace quillmar;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder);

    config::ConfigStore store;
    profiles::installDefaultConfiguration(store);
    auto records = store.records();
    records[5] = {keyboard::AssignmentType::TextBlock, 0, 0, 0, 0};
    records[700] = {keyboard::AssignmentType::LaunchProgram, 0, 0, 0, 0};
    records[30] = {keyboard::AssignmentType::PlayMacro, 1, 2, 0, 0};
    store.texts().setText(5, u"text block");
    store.texts().setText(700, u"/usr/bin/game");
    config::MacroList macros(2);
    for (std::uint16_t n = 0; n < 2; ++n) {
        config::setMacroName(macros[n], u"Macro");
        macros[n].id = static_cast<std::uint16_t>(n + 1);
        macros[n].loopCount = 1;
        config::appendMacroAction(macros[n], {50, 0x1E, config::KeyDirection::Press});
        config::appendMacroAction(macros[n], {50, 0x1E, config::KeyDirection::Release});
    }
    store.replaceMacros(std::move(macros));

    const bool written = profiles::writeDefaultFile(folder / "default.kbp") == 1 &&
                         profiles::writeConfigurationFile(store, folder / "sample.kbp") == 1;
    return written ? 0 : 1;
}
