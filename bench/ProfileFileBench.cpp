// Saving and loading a profile file that holds 100 full macros.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "config/ConfigStore.h"
#include "profiles/ProfileFile.h"

namespace {

using namespace quillmar;

void fillWithHundredMacros(config::ConfigStore& store) {
    profiles::installDefaultConfiguration(store);
    config::MacroList macros(config::kMaxMacros);
    for (std::uint16_t n = 0; n < macros.size(); ++n) {
        config::setMacroName(macros[n], u"Macro");
        macros[n].id = static_cast<std::uint16_t>(n + 1);
        macros[n].loopCount = 1;
        for (int action = 0; action < config::kMaxMacroActions; ++action) {
            config::appendMacroAction(macros[n], {20, 0x1E, config::KeyDirection(action % 2)});
        }
    }
    store.replaceMacros(std::move(macros));
    store.records()[10] = {keyboard::AssignmentType::LaunchProgram, 0, 0, 0, 0};
    store.texts().setText(10, u"/usr/bin/game");
}

std::filesystem::path benchFile() {
    return std::filesystem::temp_directory_path() / ("quillmar-bench-" + std::to_string(::getpid()) + ".kbp");
}

void SaveProfileFileWithHundredMacros(benchmark::State& state) {
    config::ConfigStore store;
    fillWithHundredMacros(store);
    const auto path = benchFile();
    profiles::writeDefaultFile(path);
    for (auto _ : state) {
        if (profiles::saveProfileFile(store, path) != 1) state.SkipWithError("save failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(SaveProfileFileWithHundredMacros)->Unit(benchmark::kMillisecond);

void LoadProfileFileWithHundredMacros(benchmark::State& state) {
    config::ConfigStore source;
    fillWithHundredMacros(source);
    const auto path = benchFile();
    profiles::writeConfigurationFile(source, path);
    config::ConfigStore store;
    for (auto _ : state) {
        if (profiles::loadConfigurationFile(store, path) != 1) state.SkipWithError("load failed");
    }
    std::filesystem::remove(path);
}
BENCHMARK(LoadProfileFileWithHundredMacros)->Unit(benchmark::kMillisecond);

}  // namespace
