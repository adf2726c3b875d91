// Writes starting inputs into the corpus folder given as the only argument:
// for profile_file_fuzzer the default file and a file using macros and both
// text kinds, and that file's macro area and first key block (with the
// default layout behind it) for macro_area_fuzzer and key_block_fuzzer.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "config/AssignmentBlock.h"
#include "config/ConfigStore.h"
#include "config/KeyBlockImage.h"
#include "config/MacroArea.h"
#include "profiles/ProfileFile.h"

namespace {

bool writeSeed(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace quillmar;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus folder>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::filesystem::create_directories(folder / "profile_file_fuzzer");

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

    const auto macroPositionOf = [&store](std::uint32_t id) { return store.findMacroIndexById(id); };
    const auto firstProfile = store.records().first<keyboard::kSlotsPerProfile>();
    const auto block = config::buildKeyBlock(firstProfile, keyboard::kBuiltInDefaultKeyTable, macroPositionOf);
    std::vector<std::uint8_t> blockAndLayout(block.begin(), block.end());
    blockAndLayout.insert(blockAndLayout.end(), keyboard::kBuiltInDefaultKeyTable.begin(),
                          keyboard::kBuiltInDefaultKeyTable.end());

    const bool written = profiles::writeDefaultFile(folder / "profile_file_fuzzer" / "default.kbp") == 1 &&
                         profiles::writeConfigurationFile(store, folder / "profile_file_fuzzer" / "sample.kbp") == 1 &&
                         writeSeed(folder / "macro_area_fuzzer" / "sample.bin", config::buildMacroArea(store.macros(), true)) &&
                         writeSeed(folder / "key_block_fuzzer" / "sample.bin", blockAndLayout);
    return written ? 0 : 1;
}
