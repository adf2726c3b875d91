// Building the macro area and downloading the device image.
//
// BM_BuildLargestMacroArea: the largest named macro area a factory keyboard
// holds (8192 bytes), as a download builds it: both sizes, then the area.
//
// BM_DownloadToSimulator: a whole Apply download (snapshot, macro area, the
// active profile's key block) against the simulated keyboard answering after
// 1 ms, with the link's own pauses. Its floor, reported beside it, is one
// latency per transaction plus the pause before EndUpdate.

#include "config/DeviceImageDownload.h"
#include "config/MacroArea.h"
#include "device/DeviceLink.h"
#include "hidlane/sim/SimKeyboard.h"
#include "support/LinkedSimService.h"
#include "support/QuietWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

using namespace quillmar;
using namespace std::chrono_literals;

constexpr std::size_t kFactoryMacroMemory = 8192;
constexpr int kMacroCount = 20;

// kMacroCount named macros whose area with names is as large as fits.
config::MacroList largestMacros(std::size_t limit) {
    config::MacroList macros(kMacroCount);
    for (int i = 0; i < kMacroCount; ++i) {
        const std::string name = "Macro" + std::to_string(100 + i);
        config::setMacroName(macros[i], std::u16string(name.begin(), name.end()));
        macros[i].id = static_cast<std::uint16_t>(i + 1);
        macros[i].loopCount = 1;
    }
    for (int i = 0;; i = (i + 1) % kMacroCount) {
        const bool press = macros[i].actionCount % 2 == 0;
        config::appendMacroAction(macros[i], {30, 0x1E, press ? config::KeyDirection::Press : config::KeyDirection::Release});
        if (config::macroAreaSizes(macros).withNames > limit) {
            --macros[i].actionCount;
            return macros;
        }
    }
}

void BM_BuildLargestMacroArea(benchmark::State& state) {
    const config::MacroList macros = largestMacros(kFactoryMacroMemory);
    for (auto _ : state) {
        const config::MacroAreaSizes sizes = config::macroAreaSizes(macros);
        auto area = config::buildMacroArea(macros, sizes.withNames <= kFactoryMacroMemory);
        benchmark::DoNotOptimize(area.data());
    }
    state.counters["bytes"] = static_cast<double>(config::macroAreaSizes(macros).withNames);
}
BENCHMARK(BM_BuildLargestMacroArea);

using testing::QuietPrompt;
using testing::QuietWindow;

// The simulated keyboard behind its linked entry points, on a state file of its own.
class SimulatedKeyboard {
public:
    SimulatedKeyboard() {
        char folder[] = "/tmp/quillmar-bench-XXXXXX";
        folder_ = ::mkdtemp(folder) ? folder : std::filesystem::temp_directory_path().string();
        ::setenv("QUILLMAR_SIM_STATE", (folder_ / "sim-keyboard.bin").c_str(), 1);
        Init(0);
        sim::sharedSimKeyboard().setLatency(1ms);
        link_ = std::make_unique<device::DeviceLink>(service_, window_, prompt_, texts_);
        link_->start();
        while (link_->presence().connectedCount() == 0) std::this_thread::sleep_for(1ms);
        link_->waitForWorkers();
    }
    ~SimulatedKeyboard() {
        End();
        link_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    config::DownloadTarget target() { return config::downloadTargetOf(*link_, prompt_, texts_); }

private:
    std::filesystem::path folder_;
    const device::HidService service_ = quillmar::testing::linkedSimService();
    QuietWindow window_;
    QuietPrompt prompt_;
    text::BuiltInTexts texts_;
    std::unique_ptr<device::DeviceLink> link_;
};

// Arg 0: no macros (a 16-byte area); arg 1: the largest area of the factory keyboard.
void BM_DownloadToSimulator(benchmark::State& state) {
    SimulatedKeyboard keyboard;
    config::Configuration configuration;
    const config::MacroList macros = state.range(0) ? largestMacros(kFactoryMacroMemory) : config::MacroList{};
    configuration.working.replaceMacros(config::MacroList(macros));
    configuration.working.records()[0x1E] = {keyboard::AssignmentType::Key, 0, 0x30, 0, 0};
    const config::DownloadTarget target = keyboard.target();

    for (auto _ : state) {
        if (config::takeDownloadSnapshot(configuration, config::DownloadScope::ActiveProfile, target) != 1) {
            state.SkipWithError("download failed");
            break;
        }
    }
    const std::size_t areaBytes = config::macroAreaSizes(macros).withNames;
    const std::size_t transactions = 1 + (areaBytes + 55) / 56 + 7 + 1;  // Begin, area, block, End
    const device::LinkTiming timing;
    state.counters["transactions"] = static_cast<double>(transactions);
    state.counters["floor_ms"] = static_cast<double>(transactions * 1 + timing.endUpdatePause.count());
}
BENCHMARK(BM_DownloadToSimulator)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
